#include "Scenario.hpp"

#include "FieldReader.hpp"
#include "StepParsers.hpp"

namespace quarra::cli {
namespace {

// Deeper documents are refused before parsing: nothing a scenario needs nests
// this far, and every later walk over the value stays shallow.
constexpr int kDeepestNesting = 64;

bool nestsTooDeep(const std::string& text) {
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (char c : text) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kDeepestNesting) return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

std::string allStepNames() {
    std::string names;
    for (const auto* table : {&sessionStepParsers(), &transactionStepParsers(), &trackingStepParsers()}) {
        for (const auto& [name, parser] : *table) names += (names.empty() ? "\"" : ", \"") + name + "\"";
    }
    return names;
}

const StepParser* parserFor(const std::string& name) {
    for (const auto* table : {&sessionStepParsers(), &transactionStepParsers(), &trackingStepParsers()}) {
        if (auto found = table->find(name); found != table->end()) return &found->second;
    }
    return nullptr;
}

Step parseStep(const JSONDictionary& value, std::size_t number, const ScenarioRules& rules) {
    const std::string where = "step " + std::to_string(number);
    if (!value.is_object()) throw ScenarioError(where + ": must be an object with a \"do\" key, not " + shortJSON(value));
    auto found = value.find("do");
    if (found == value.end()) throw ScenarioError(where + ": \"do\" is missing (one of " + allStepNames() + ")");
    if (!found->is_string()) throw ScenarioError(where + ": \"do\" must be a text, not " + shortJSON(*found));
    auto name = found->get<std::string>();
    const auto* parser = parserFor(name);
    if (!parser) throw ScenarioError(where + ": unknown step \"" + name + "\" (one of " + allStepNames() + ")");

    FieldReader fields(value, where + " (\"" + name + "\")");
    fields.text("do");
    auto action = (*parser)(fields, rules);
    fields.finish();
    return Step{number, name, std::move(action)};
}

Scenario parseDocument(const JSONDictionary& document, const ScenarioRules& rules) {
    if (!document.is_object()) throw ScenarioError("scenario: must be a JSON object with \"user\", \"secret\", \"customer\" and \"steps\"");
    FieldReader fields(document, "scenario");
    Scenario scenario;
    scenario.user = fields.text("user");
    scenario.secret = fields.text("secret");
    scenario.customer = fields.text("customer");
    (void)fields.optionalText("description");
    const auto& steps = fields.array("steps");
    fields.finish();
    for (std::size_t i = 0; i < steps.size(); ++i) scenario.steps.push_back(parseStep(steps[i], i + 1, rules));
    return scenario;
}

}  // namespace

std::variant<Scenario, std::string> parseScenario(const std::string& text, ScenarioRules rules) {
    if (nestsTooDeep(text)) return "scenario: nests deeper than " + std::to_string(kDeepestNesting) + " levels";
    JSONDictionary document;
    try {
        document = JSONDictionary::parse(text);
    } catch (const JSONDictionary::exception& error) {
        // The decoder's own text, without its "[json.exception...] " tag.
        std::string reason = error.what();
        if (auto tagEnd = reason.find("] "); reason.rfind("[json.exception", 0) == 0 && tagEnd != std::string::npos) {
            reason = reason.substr(tagEnd + 2);
        }
        return "scenario: not valid JSON (" + reason + ")";
    }
    try {
        return parseDocument(document, rules);
    } catch (const ScenarioError& error) {
        return std::string(error.what());
    }
}

}  // namespace quarra::cli
