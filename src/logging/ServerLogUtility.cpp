#include "logging/ServerLogUtility.hpp"

#include "config/SessionConfigManager.hpp"
#include "base/ConsoleLog.hpp"
#include "base/JsonText.hpp"
#include "logging/InsertLogDataResponse.hpp"
#include "transport/RequestsManager.hpp"

namespace quarra {
namespace {

constexpr const char* kInsertLogData = "InsertLogData";
constexpr std::size_t kShownAnswerBytes = 200;

void reportUnreadableAnswer(const std::shared_ptr<const Console>& console, const std::string& body) {
    if (!console) return;
    std::string shown = body.substr(0, kShownAnswerBytes);
    if (body.size() > kShownAnswerBytes) shown += "...";
    console->log("Log upload answer could not be read: " + shown);
}

// Success: a JSON object is required; a code other than "0" is a refusal, and
// an object without the two texts counts as accepted.
void handleAnswer(const std::string& body, const ServerLogUtility::Completion& completion,
                  const std::shared_ptr<const Console>& console) {
    auto parsed = parseJSON(body);
    if (!parsed || !parsed->is_object()) {
        reportUnreadableAnswer(console, body);
        return;
    }
    auto answer = InsertLogDataResponse::fromJSON(*parsed);
    if (!answer) reportUnreadableAnswer(console, body);
    bool accepted = !answer || answer->responseCode == "0";
    if (completion) completion(accepted);
}

}  // namespace

ServerLogUtility::ServerLogUtility(Dependencies dependencies) : deps_(std::move(dependencies)) {}

void ServerLogUtility::sendLog(const std::string& logData, Completion completion) {
    if (!deps_.requestsManager || !deps_.sessionConfigManager) return;
    auto settings = SessionConfigUtility::featureDetails(kInsertLogData, *deps_.sessionConfigManager);
    if (settings && !settings->enabled) return;

    JSONDictionary body{
        {"LogData", logData},
        {"SessionKey", deps_.sessionConfigManager->sessionKey().value_or("")},
    };
    auto endpoint = DataCollectorAPI::sendData(std::move(body), std::nullopt, "", std::nullopt, "",
                                               BaseUrlType::logBaseUrl);
    deps_.requestsManager->request(
        endpoint, 1, "",
        [completion, console = deps_.console](const std::string& answer) { handleAnswer(answer, completion, console); },
        [completion, report = deps_.reportFailure](const APIError& error) {
            if (report) report("log", error);
            if (completion) completion(false);
        });
}

}  // namespace quarra
