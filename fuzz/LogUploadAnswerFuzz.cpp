// Any bytes as the log endpoint's answer, through the real upload path: the
// completion runs once for a JSON object (false only for a "ResponseCode"
// text other than "0") and not at all for anything else; an answer that
// decodes survives its own written form.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.hpp"
#include "base/ConsoleLog.hpp"
#include "base/JsonText.hpp"
#include "config/SessionConfigManager.hpp"
#include "logging/InsertLogDataResponse.hpp"
#include "logging/ServerLogUtility.hpp"
#include "transport/RequestsManager.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quarra;
    const std::string body(reinterpret_cast<const char*>(data), size);
    static const bool logsOn = (enableLogs(true), true);
    (void)logsOn;

    auto parsed = parseJSON(body);
    std::optional<InsertLogDataResponse> answer;
    if (parsed) {
        answer = InsertLogDataResponse::fromJSON(*parsed);
        if (answer && InsertLogDataResponse::fromJSON(answer->toJSON()) != answer) __builtin_trap();
    }

    auto http = std::make_shared<fuzzing::HeldHttpClient>();
    auto sink = std::make_shared<fuzzing::LineSink>();
    SessionConfigManager config;
    RequestsManager requests(
        RequestsManager::Dependencies{.session = http, .baseUrls = BaseUrls::from(ServiceOrigins{})});
    ServerLogUtility uploads(ServerLogUtility::Dependencies{
        .requestsManager = &requests,
        .sessionConfigManager = &config,
        .console = std::make_shared<const Console>(sink, std::make_shared<SystemClock>()),
    });

    std::vector<bool> completions;
    uploads.sendLog(R"({"apiName":"userEvents","logLevel":2})", [&](bool accepted) { completions.push_back(accepted); });
    if (http->pending.size() != 1) __builtin_trap();
    http->answer(fuzzing::HeldHttpClient::ok(body));

    std::vector<bool> expected;
    if (parsed && parsed->is_object()) expected.push_back(!answer || answer->responseCode == "0");
    if (completions != expected) __builtin_trap();
    return 0;
}
