#include "StepParsers.hpp"

namespace quarra::cli {
namespace {

StepAction report(ReportKind kind, FieldReader& fields) {
    return ReportStep{.kind = kind, .event = fields.object("event"), .timeout = stepTimeout(fields)};
}

}  // namespace

Milliseconds stepTimeout(FieldReader& fields) {
    auto ms = fields.optionalInteger("timeoutMs", 1, kLongestWaitMs);
    return ms ? Milliseconds(*ms) : kDefaultStepTimeout;
}

const std::map<std::string, StepParser>& sessionStepParsers() {
    static const std::map<std::string, StepParser> parsers{
        {"authenticate", [](FieldReader& fields, const ScenarioRules&) -> StepAction {
             return AuthenticateStep{stepTimeout(fields)};
         }},
        {"network", [](FieldReader& fields, const ScenarioRules& rules) -> StepAction {
             if (!rules.manualNetwork) fields.fail("needs --network manual (the system monitor cannot be switched)");
             NetworkStep step{.satisfied = fields.boolean("satisfied"), .timeout = std::nullopt};
             if (auto ms = fields.optionalInteger("timeoutMs", 1, kLongestWaitMs)) step.timeout = Milliseconds(*ms);
             return step;
         }},
        {"location", [](FieldReader& fields, const ScenarioRules&) -> StepAction {
             return LocationStep{.latitude = fields.number("latitude", -90, 90),
                                 .longitude = fields.number("longitude", -180, 180),
                                 .timeout = stepTimeout(fields)};
         }},
        {"userEvents", [](FieldReader& fields, const ScenarioRules&) { return report(ReportKind::userEvents, fields); }},
        {"activityStream",
         [](FieldReader& fields, const ScenarioRules&) { return report(ReportKind::activityStream, fields); }},
        {"accelerometer",
         [](FieldReader& fields, const ScenarioRules&) { return report(ReportKind::accelerometer, fields); }},
        {"ignoreDataCollection", [](FieldReader& fields, const ScenarioRules&) -> StepAction {
             return IgnoreDataCollectionStep{fields.boolean("value")};
         }},
        {"wait", [](FieldReader& fields, const ScenarioRules&) -> StepAction {
             return WaitStep{Milliseconds(fields.integer("ms", 0, kLongestWaitMs))};
         }},
        {"drain", [](FieldReader& fields, const ScenarioRules&) -> StepAction { return DrainStep{stepTimeout(fields)}; }},
        {"health", [](FieldReader&, const ScenarioRules&) -> StepAction { return HealthStep{}; }},
    };
    return parsers;
}

}  // namespace quarra::cli
