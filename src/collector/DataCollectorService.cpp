// The public facade: every call hands its work to the library's worker (or
// answers at once after shutdown) and returns.
#include <quarra/DataCollectorService.hpp>

#include "collector/Engine.hpp"

namespace quarra {
namespace {

constexpr std::string_view kShutDownLine = "The library has been shut down; ";

}  // namespace

const char* regionName(Region region) { return region == Region::US ? "US" : "APAC"; }

DataCollectorService::DataCollectorService(Engine& engine) : engine_(engine) {}

DataCollectorService& DataCollectorService::defaultService() { return Engine::process().service(); }

bool DataCollectorService::ignoreDataCollection() const { return engine_.collector->ignoreDataCollection(); }
void DataCollectorService::setIgnoreDataCollection(bool ignore) { engine_.collector->setIgnoreDataCollection(ignore); }
void DataCollectorService::enableLogs(bool enabled) { quarra::enableLogs(enabled); }

void DataCollectorService::authenticateUser(const std::string& userName, const std::string& secretKey,
                                            const std::string& customerName, StringCompletion completion,
                                            BoolCompletion collectionStarted) {
    EntryGate::Pass pass(engine_.gate());
    if (!pass) {
        engine_.console->log(std::string(kShutDownLine) + "authenticateUser() does nothing");
        return;
    }
    engine_.worker->post([weak = std::weak_ptr<SessionStart>(engine_.sessionStart), userName, secretKey, customerName,
                          completion = std::move(completion), collectionStarted = std::move(collectionStarted)]() mutable {
        if (auto start = weak.lock()) {
            start->authenticateUser(userName, secretKey, customerName, std::move(completion), std::move(collectionStarted));
        }
    });
}

void DataCollectorService::getSessionKey(StringCompletion completion) {
    Engine::process().sessionService->getSessionKey(std::move(completion));
}

std::shared_ptr<PathMonitor> DataCollectorService::networkMonitor() const { return engine_.monitor; }

void DataCollectorService::sendLocationData(double latitude, double longitude, BoolCompletion completion) {
    EntryGate::Pass pass(engine_.gate());
    if (!pass) return engine_.collector->refuseAfterShutdown(completion);
    engine_.worker->post([weak = std::weak_ptr<CollectionService>(engine_.collector), latitude, longitude,
                          completion = std::move(completion)]() mutable {
        if (auto collector = weak.lock()) collector->sendLocationData(latitude, longitude, std::move(completion));
    });
}

namespace {

// Hands one report to the collector on the worker, through the inbox.
void handOver(Engine& engine, DataCollectorAPI::Case reportCase, JSONDictionary data,
              DataCollectorService::BoolCompletion completion) {
    EntryGate::Pass pass(engine.gate());
    if (!pass) return engine.collector->refuseAfterShutdown(completion);
    engine.inbox->handIn(reportCase, std::move(data), std::move(completion));
}

}  // namespace

void DataCollectorService::sendUserData(JSONDictionary data, BoolCompletion completion) {
    handOver(engine_, DataCollectorAPI::Case::userData, std::move(data), std::move(completion));
}
void DataCollectorService::sendUserEvents(JSONDictionary data, BoolCompletion completion) {
    handOver(engine_, DataCollectorAPI::Case::userEventData, std::move(data), std::move(completion));
}
void DataCollectorService::sendActivityStream(JSONDictionary data, BoolCompletion completion) {
    handOver(engine_, DataCollectorAPI::Case::activityStreamData, std::move(data), std::move(completion));
}
void DataCollectorService::sendAccelerometerData(JSONDictionary data, BoolCompletion completion) {
    handOver(engine_, DataCollectorAPI::Case::accelerometerData, std::move(data), std::move(completion));
}

bool DataCollectorService::flush(std::chrono::milliseconds timeout) { return engine_.flush(timeout); }

bool DataCollectorService::shutdown(std::chrono::milliseconds timeout) { return engine_.shutdown(timeout); }

DataCollectorService::Health DataCollectorService::health() const { return engine_.collector->health(); }

}  // namespace quarra
