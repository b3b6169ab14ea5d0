#pragma once
// A collection service wired to doubles: simulated HTTP, a manual executor on
// a fake clock, its own configuration holder, queue and captured console.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "config/SessionConfigManager.hpp"
#include "collector/CollectionService.hpp"
#include "logging/LogManager.hpp"
#include <quarra/testing/ManualExecutor.hpp>
#include <quarra/testing/SimulatedHttpClient.hpp>
#include "queue/DataCollectorEventsQueue.hpp"
#include "support/CapturingConsole.hpp"
#include "support/ScriptedGeocoder.hpp"
#include "transport/RequestsManager.hpp"

namespace quarra::testing {

// Keeps every server log record instead of posting it.
class RecordingLogManager final : public LogManager {
public:
    struct Record {
        std::string apiName, type, message;
        bool operator==(const Record&) const = default;
    };
    void log(const std::string& apiName, const std::string& type, const std::string& message) override {
        std::lock_guard lock(mutex_);
        records_.push_back({apiName, type, message});
    }
    std::vector<Record> records() const {
        std::lock_guard lock(mutex_);
        return records_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Record> records_;
};

struct ServiceHarness {
    ServiceHarness();

    // Enables each named feature with its own name as the path.
    void enableFeatures(const std::vector<std::string>& names, std::optional<int64_t> logLevel = std::nullopt);
    // Collector answers with this "ResponseCode" for every request from now on.
    void answerEveryRequestWith(const std::string& code);
    // The JSON bodies of the requests sent so far.
    std::vector<JSONDictionary> sentBodies() const;

    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    std::shared_ptr<ManualExecutor> executor = std::make_shared<ManualExecutor>(clock);
    std::shared_ptr<SimulatedHttpClient> http = std::make_shared<SimulatedHttpClient>(executor);
    std::shared_ptr<CapturingConsole> sink = std::make_shared<CapturingConsole>();
    std::shared_ptr<Console> console = std::make_shared<Console>(sink, clock);
    std::shared_ptr<ScriptedGeocoder> geocoder = std::make_shared<ScriptedGeocoder>();
    BaseUrls baseUrls = BaseUrls::from(ServiceOrigins{});
    SessionConfigManager config;
    RecordingLogManager logs;
    RequestsManager requests;
    DataCollectorEventsQueue queue;
    std::shared_ptr<CollectionService> service;
};

}  // namespace quarra::testing
