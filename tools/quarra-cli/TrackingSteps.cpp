// Reading the tracking steps. Tags and actions are taken as texts: one the
// library does not know is the library's business (it says so on the console
// and sends nothing), not a malformed scenario.
#include <limits>

#include "StepParsers.hpp"

namespace quarra::cli {
namespace {

constexpr double kLargest = std::numeric_limits<double>::max();
constexpr int64_t kMostTaps = 10'000;

Milliseconds milliseconds(FieldReader& fields, const std::string& key) {
    return Milliseconds(fields.optionalInteger(key, 0, kLongestWaitMs).value_or(0));
}

std::optional<TouchInput> touch(FieldReader& fields) {
    const auto* value = fields.optionalObject("touch");
    if (!value) return std::nullopt;
    FieldReader touchFields(*value, fields.where() + " \"touch\"");
    TouchInput input{.force = touchFields.number("force", 0, kLargest),
                     .x = touchFields.number("x", -kLargest, kLargest),
                     .y = touchFields.number("y", -kLargest, kLargest)};
    touchFields.finish();
    return input;
}

TaggedScreenBase screenBase(FieldReader& fields) {
    auto text = fields.optionalText("base").value_or("view");
    if (text == "view") return TaggedScreenBase::view;
    if (text == "table") return TaggedScreenBase::table;
    if (text == "collection") return TaggedScreenBase::collection;
    fields.fail("\"base\" must be one of \"view\", \"table\", \"collection\", not \"" + text + "\"");
}

StepAction taggedScreen(FieldReader& fields) {
    TaggedScreenStep step{.screenTag = fields.text("screenTag"), .base = screenBase(fields), .touch = touch(fields)};
    // Only the plain screen base takes touches; the table and collection
    // bases would drop them without a word.
    if (step.touch && step.base != TaggedScreenBase::view) fields.fail("\"touch\" needs \"base\": \"view\"");
    step.visible = milliseconds(fields, "visibleMs");
    step.timeout = stepTimeout(fields);
    return step;
}

}  // namespace

const std::map<std::string, StepParser>& trackingStepParsers() {
    static const std::map<std::string, StepParser> parsers{
        {"textField", [](FieldReader& fields, const ScenarioRules&) -> StepAction {
             return TextFieldStep{.fieldTag = fields.text("fieldTag"),
                                  .text = fields.text("text"),
                                  .taps = fields.optionalInteger("taps", 0, kMostTaps).value_or(0),
                                  .touch = touch(fields),
                                  .duration = milliseconds(fields, "durationMs"),
                                  .timeout = stepTimeout(fields)};
         }},
        {"textWatcher", [](FieldReader& fields, const ScenarioRules&) -> StepAction {
             return TextWatcherStep{.fieldTag = fields.text("fieldTag"),
                                    .text = fields.text("text"),
                                    .duration = milliseconds(fields, "durationMs"),
                                    .timeout = stepTimeout(fields)};
         }},
        {"tapButton", [](FieldReader& fields, const ScenarioRules&) -> StepAction {
             return TapButtonStep{.action = fields.text("action"), .touch = touch(fields), .timeout = stepTimeout(fields)};
         }},
        {"accelerometerSample", [](FieldReader& fields, const ScenarioRules& rules) -> StepAction {
             if (!rules.scriptedSensors) fields.fail("needs --sensors scripted (the device's own sensor cannot be set)");
             return AccelerometerSampleStep{.x = fields.number("x", -kLargest, kLargest),
                                            .y = fields.number("y", -kLargest, kLargest),
                                            .z = fields.number("z", -kLargest, kLargest),
                                            .timeout = stepTimeout(fields)};
         }},
        {"picker", [](FieldReader& fields, const ScenarioRules&) -> StepAction {
             return PickerStep{.fieldTag = fields.text("fieldTag"),
                               .visible = milliseconds(fields, "visibleMs"),
                               .timeout = stepTimeout(fields)};
         }},
        {"screen", [](FieldReader& fields, const ScenarioRules&) -> StepAction {
             return ScreenStep{.className = fields.text("className"),
                               .visible = milliseconds(fields, "visibleMs"),
                               .timeout = stepTimeout(fields)};
         }},
        {"taggedScreen", [](FieldReader& fields, const ScenarioRules&) { return taggedScreen(fields); }},
    };
    return parsers;
}

}  // namespace quarra::cli
