// The picker and screen steps: something is shown, stays for the step's
// time, and goes away; the report (if any) is what the library makes of it.
#include <thread>
#include <type_traits>

#include <quarra/tracking/ScreenAppearanceHooks.hpp>
#include <quarra/tracking/ScreenTags.hpp>
#include <quarra/tracking/TrackingPickerView.hpp>

#include "Mailbox.hpp"
#include "StepRunner.hpp"
#include "TrackingHosts.hpp"
#include "TrackingStage.hpp"

namespace quarra::cli {
namespace {

// The automatic hooks send a screen's enter event this long after it
// appears, even when it has gone by then; a marker due just after that
// tells the step when the enter event has been handed over.
constexpr Milliseconds kAfterNamedEnter{201};

template <typename Base>
StepOutcome playTaggedScreen(const TaggedScreenStep& step, const std::shared_ptr<Executor>& mainQueue) {
    TrackingStage stage(mainQueue);
    // A tag outside the library's vocabulary cannot be returned by a screen
    // class: such a screen counts as untagged.
    const ScreenTags tag = screenTagsFromRawValue(step.screenTag).value_or(ScreenTags::None);
    auto screen = std::make_shared<std::unique_ptr<TaggedScreen<Base>>>();
    stage.onMain([screen, tag, context = stage.context(), touch = step.touch] {
        *screen = std::make_unique<TaggedScreen<Base>>(tag, context);
        (*screen)->viewDidAppear();
        if constexpr (std::is_same_v<Base, EventsTrackerViewController>) {
            if (touch) (*screen)->touchesBegan({Touch{touch->force, ViewPoint{touch->x, touch->y}}});
        }
    });
    std::this_thread::sleep_for(step.visible);
    stage.onMain([screen] { (*screen)->viewWillDisappear(); });
    auto outcome = stage.finish(step.timeout);
    stage.onMain([screen] { screen->reset(); });
    return outcome;
}

}  // namespace

StepOutcome StepRunner::operator()(const PickerStep& step) {
    TrackingStage stage(mainQueue_);
    auto picker = std::make_shared<std::unique_ptr<TrackingPickerView>>();
    stage.onMain([picker, context = stage.context(), tag = step.fieldTag] {
        *picker = std::make_unique<TrackingPickerView>(context);
        (*picker)->setFieldTag(tag);
        (*picker)->willMoveToSuperview(true);  // shown: put in a window, not hidden
    });
    std::this_thread::sleep_for(step.visible);
    stage.onMain([picker] { (*picker)->setHidden(true); });
    auto outcome = stage.finish(step.timeout);
    stage.onMain([picker] { picker->reset(); });
    return outcome;
}

StepOutcome StepRunner::operator()(const ScreenStep& step) {
    TrackingStage stage(mainQueue_);
    auto hooks = std::make_shared<ScreenAppearanceHooks>(stage.context());
    // As the library's own hooks: on only once an online session has started.
    if (ScreenAppearanceHooks::shared().installed()) hooks->install();
    ScreenClass screen{.name = step.className};
    auto enterPassed = std::make_shared<Mailbox<bool>>();
    stage.onMain([hooks, screen, enterPassed, main = mainQueue_] {
        hooks->viewWillAppear(screen);
        main->postAfter(kAfterNamedEnter, [enterPassed] { enterPassed->post(true); });
    });
    std::this_thread::sleep_for(step.visible);
    stage.onMain([hooks, screen] { hooks->viewWillDisappear(screen); });
    if (!enterPassed->waitFor(0, step.timeout)) return StepOutcome{nullptr, true};
    return stage.finish(step.timeout);
}

StepOutcome StepRunner::operator()(const TaggedScreenStep& step) {
    switch (step.base) {
        case TaggedScreenBase::table: return playTaggedScreen<EventsTrackerTableViewController>(step, mainQueue_);
        case TaggedScreenBase::collection: return playTaggedScreen<EventsTrackerCollectionViewController>(step, mainQueue_);
        case TaggedScreenBase::view: break;
    }
    return playTaggedScreen<EventsTrackerViewController>(step, mainQueue_);
}

}  // namespace quarra::cli
