// Any bytes as the collector's answer to a report, through the real send
// path: the report is accepted exactly when the answer is a JSON object with
// the text "0" as its "ResponseCode"; otherwise it waits in the outbox. Either
// way the completion runs once, and the journal and the health snapshot stay
// valid UTF-8 (they are written out as JSON).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.hpp"
#include "base/ConsoleLog.hpp"
#include "base/JsonText.hpp"
#include "collector/CollectionService.hpp"
#include "collector/HealthRecorder.hpp"
#include "config/SessionConfigManager.hpp"
#include "queue/DataCollectorEventsQueue.hpp"
#include "transport/RequestsManager.hpp"

namespace {

bool acceptedByRule(const std::string& body) {
    auto answer = quarra::JSONDictionary::parse(body, nullptr, false);
    if (answer.is_discarded() || !answer.is_object()) return false;
    auto code = answer.find("ResponseCode");
    return code != answer.end() && code->is_string() && code->get<std::string>() == "0";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quarra;
    const std::string body(reinterpret_cast<const char*>(data), size);
    static const bool logsOn = (enableLogs(true), true);
    (void)logsOn;

    auto http = std::make_shared<fuzzing::HeldHttpClient>();
    auto sink = std::make_shared<fuzzing::LineSink>();
    auto clock = std::make_shared<SystemClock>();
    auto console = std::make_shared<Console>(sink, clock);
    SessionConfigManager config;
    SessionConfiguration settings;
    settings.apiSetting.push_back(FeatureDetails{.apiName = "userEvents", .enabled = true, .retryCount = 1,
                                                 .connectionTimeout = 3000, .retryInterval = 1500});
    config.replace(std::move(settings));
    fuzzing::RecordingServerLog serverLog;
    RequestsManager requests(RequestsManager::Dependencies{
        .session = http, .baseUrls = BaseUrls::from(ServiceOrigins{}), .logManager = &serverLog,
        .sessionConfigManager = &config});
    DataCollectorEventsQueue queue(makeMemoryEventStore(), console.get());
    HealthRecorder health(clock, console);
    auto service = CollectionService::create(CollectionService::Dependencies{
        .requestsManager = &requests, .queue = &queue, .sessionConfigManager = &config, .logManager = &serverLog,
        .console = console, .health = &health, .clock = clock});
    service->setSessionKey("6f1c2a8e-0b7d-4c55-9a3e-2d4f8b1c7e90");

    std::vector<bool> completions;
    service->sendUserEvents({{"event", "tap"}, {"count", 3}}, [&](bool accepted) { completions.push_back(accepted); });
    if (http->pending.size() != 1) __builtin_trap();
    http->answer(fuzzing::HeldHttpClient::ok(body));

    const bool accepted = acceptedByRule(body);
    if (completions != std::vector<bool>{accepted}) __builtin_trap();
    if (!http->pending.empty()) __builtin_trap();  // an answered report is not sent again at once
    if (queue.count() != (accepted ? 0u : 1u)) __builtin_trap();

    auto journal = service->logsCollected();
    if (journal.size() != 2 || !compactJSON(journal.back())) __builtin_trap();
    if (!accepted) {
        auto snapshot = service->health();
        if (!snapshot.lastError || !fuzzing::wellFormedUtf8(snapshot.lastError->code) ||
            !fuzzing::wellFormedUtf8(snapshot.lastError->text)) {
            __builtin_trap();
        }
    }
    return 0;
}
