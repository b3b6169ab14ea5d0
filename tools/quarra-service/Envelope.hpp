#pragma once
// The collector's check of a report envelope:
// {<one report key>: report, "sessionId": text, "clientName": text}.
#include <string>
#include <variant>

#include <nlohmann/json.hpp>

namespace quarra::service {

// Answer codes of the collector and the log endpoint.
inline constexpr const char* kAccepted = "0";
inline constexpr const char* kEnvelopeInvalid = "2";
inline constexpr const char* kUnknownSession = "3";

struct CheckedEnvelope {
    std::string sessionId;
    std::string reportKey;
};

struct EnvelopeProblem {
    std::string code;
    std::string reason;
};

// Shape only: whether the session exists is the caller's question.
std::variant<CheckedEnvelope, EnvelopeProblem> checkEnvelope(const nlohmann::json& envelope);

}  // namespace quarra::service
