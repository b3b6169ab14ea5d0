// The typing, button and sensor steps: each builds its controls on the main
// queue, feeds them the events a user's hands would cause, and ends with the
// first report's outcome. Controls stay until then, as on a host's screen, so
// their completions still write their console lines.
#include <thread>

#include <quarra/tracking/FieldTags.hpp>
#include <quarra/tracking/QuarraTextWatcher.hpp>
#include <quarra/tracking/TrackingButton.hpp>
#include <quarra/tracking/TrackingTextField.hpp>

#include "ScriptedAccelerometer.hpp"
#include "StepRunner.hpp"
#include "TrackingHosts.hpp"
#include "TrackingStage.hpp"

namespace quarra::cli {
namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr Milliseconds kPollEvery{5};

Touch touchOf(const TouchInput& input) { return Touch{input.force, ViewPoint{input.x, input.y}}; }

// Hands `type` each character in turn on the main queue, spread evenly over
// `duration` so that the last one lands at its end.
void typeAcross(const TrackingStage& stage, const std::string& text, Milliseconds duration,
                const std::function<void(const std::string&)>& type) {
    const auto start = SteadyClock::now();
    const auto characters = utf8Characters(text);
    const auto count = static_cast<int64_t>(characters.size());
    if (count == 0) std::this_thread::sleep_until(start + duration);
    for (int64_t i = 0; i < count; ++i) {
        std::this_thread::sleep_until(start + std::chrono::microseconds(duration) * (i + 1) / count);
        stage.onMain([type, character = characters[static_cast<size_t>(i)]] { type(character); });
    }
}

}  // namespace

StepOutcome StepRunner::operator()(const TextFieldStep& step) {
    TrackingStage stage(mainQueue_);
    struct Scene {
        TypingFieldHost host;
        std::unique_ptr<TrackingTextField> field;
    };
    auto scene = std::make_shared<Scene>();
    stage.onMain([scene, context = stage.context(), &step] {
        scene->field = std::make_unique<TrackingTextField>(scene->host, context);
        scene->field->setFieldTag(step.fieldTag);
        scene->host.editing = true;
        scene->field->editingDidBegin();
        if (step.touch) scene->field->touchesMoved({touchOf(*step.touch)});
        for (int64_t tap = 0; tap < step.taps; ++tap) scene->field->viewTapped();
    });
    typeAcross(stage, step.text, step.duration, [scene](const std::string& character) {
        scene->host.typed += character;
        scene->field->textDidChange();
    });
    stage.onMain([scene] {
        scene->host.editing = false;
        scene->field->editingDidEnd();
        scene->host.typed.clear();
    });
    auto outcome = stage.finish(step.timeout);
    stage.onMain([scene] { scene->field.reset(); });
    return outcome;
}

StepOutcome StepRunner::operator()(const TextWatcherStep& step) {
    TrackingStage stage(mainQueue_);
    struct Scene {
        explicit Scene(std::optional<FieldTags> tag) : row(tag) {}
        FormRow row;
        PlainTextField field{row};
        std::unique_ptr<QuarraTextWatcher> watcher;
    };
    // A tag the library does not know cannot be set on a view: such a row
    // adopts nothing, and the watcher has nothing to report.
    auto scene = std::make_shared<Scene>(fieldTagsFromRawValue(step.fieldTag));
    auto notify = [scene, centre = TextEditingNotificationCenter::shared()](TextEditingNotificationName name) {
        centre->post({name, &scene->field});
    };
    stage.onMain([scene, notify, context = stage.context()] {
        scene->watcher = std::make_unique<QuarraTextWatcher>(context);
        scene->watcher->startTracking();
        notify(TextEditingNotificationName::textFieldDidBeginEditing);
    });
    typeAcross(stage, step.text, step.duration,
               [notify](const std::string&) { notify(TextEditingNotificationName::textFieldDidChange); });
    stage.onMain([scene, notify] {
        notify(TextEditingNotificationName::textFieldDidEndEditing);
        scene->watcher->stopTracking();
    });
    auto outcome = stage.finish(step.timeout);
    stage.onMain([scene] { scene->watcher.reset(); });
    return outcome;
}

StepOutcome StepRunner::operator()(const TapButtonStep& step) {
    TrackingStage stage(mainQueue_);
    auto button = std::make_shared<std::unique_ptr<TrackingButton>>();
    stage.onMain([button, context = stage.context(), &step] {
        *button = std::make_unique<TrackingButton>(context);
        (*button)->setTrackingAction(std::string_view(step.action));
        if (step.touch) {
            (*button)->touchesBegan({touchOf(*step.touch)});
            (*button)->touchesMoved({touchOf(*step.touch)});
        }
        (*button)->buttonTapped();
    });
    auto outcome = stage.finish(step.timeout);
    stage.onMain([button] { button->reset(); });
    return outcome;
}

StepOutcome StepRunner::operator()(const AccelerometerSampleStep& step) {
    if (!accelerometer_) return StepOutcome{false, false};  // refused when the scenario was read
    const Acceleration reading{step.x, step.y, step.z};
    accelerometer_->setReading(reading);
    // Once a button has started the collector, it polls the sensor on the main
    // queue; the step ends when the collector has read the reading, so that
    // the next tap carries it.
    if (!accelerometer_->isStarted()) return StepOutcome{true, false};
    const auto deadline = SteadyClock::now() + step.timeout;
    while (!accelerometer_->readSinceSet()) {
        if (SteadyClock::now() >= deadline) return StepOutcome{nullptr, true};
        std::this_thread::sleep_for(kPollEvery);
    }
    return StepOutcome{true, false};
}

}  // namespace quarra::cli
