#pragma once
// An engine over the seams' doubles: a simulated platform and collector, a
// manual network path, fixed device facts, an in-memory secure store and a
// captured console. With `manual` the worker and the main queue are one
// manual executor the test drives; otherwise they are the engine's own threads.
// With `sealedStore` the secure store is the real one, in the temporary directory.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include <quarra/testing/FixedDeviceInfo.hpp>
#include <quarra/testing/ManualExecutor.hpp>
#include <quarra/testing/ManualPathMonitor.hpp>
#include <quarra/testing/MemorySecureItemStore.hpp>
#include <quarra/testing/SimulatedHttpClient.hpp>

#include "collector/Engine.hpp"
#include "support/CapturingConsole.hpp"
#include "support/ScriptedGeocoder.hpp"
#include "support/SessionHarness.hpp"
#include "support/TempDir.hpp"

namespace quarra::testing {

// A value one thread sets and another waits for, without sleeping.
template <typename T>
class Box {
public:
    void set(T value) {
        {
            std::lock_guard lock(mutex_);
            value_ = std::move(value);
        }
        changed_.notify_all();
    }
    std::optional<T> waitFor(std::chrono::milliseconds limit) const {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, limit, [this] { return value_.has_value(); });
        return value_;
    }

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::optional<T> value_;
};

// Yields until `done` holds or `limit` passes; for state another thread changes.
inline bool eventually(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::yield();
    }
    return true;
}

struct EngineHarness {
    // `eventStore`: where the outbox keeps reports; none: the sealed outbox
    // in the temporary directory.
    explicit EngineHarness(bool manual, bool sealedStore = false, std::unique_ptr<EventStore> eventStore = nullptr) {
        // The platform answers the session calls; the collector accepts.
        http->setResponder([](const HttpRequest& request) -> std::optional<HttpResult> {
            if (request.url.ends_with("accessToken")) return SimulatedHttpClient::ok(SessionHarness::tokenJSON("tok", "ref"));
            if (request.url.ends_with("initiate")) return SimulatedHttpClient::ok(SessionHarness::documentJSON("session-7"));
            return SimulatedHttpClient::ok(R"({"ResponseCode":"0"})");
        });
        Options options;
        options.dataDirectory = directory.path() / "data";
        options.httpClient = http;
        options.clock = clock;
        options.console = sink;
        options.pathMonitor = monitor;
        options.reverseGeocoder = std::make_shared<ScriptedGeocoder>();
        options.accelerometerSource = std::make_shared<StillSensor>();
        EngineParts parts;
        parts.device = std::make_shared<FixedDeviceInfo>();
        if (!sealedStore) parts.secureStore = std::make_shared<MemorySecureItemStore>();
        parts.eventStore = std::move(eventStore);
        if (manual) {
            options.mainExecutor = manualQueue;
            parts.worker = manualQueue;
        }
        engine = std::make_unique<Engine>(std::move(options), std::move(parts));
    }

    DataCollectorService& service() { return engine->service(); }

    // Manual engines: runs the worker and the network's answers until
    // neither has anything left to do (no time passes).
    void settle() {
        while (manualQueue->runUntilIdle() + network->runUntilIdle() > 0) {
        }
    }

    // A session as if one had started: the report features on, a session key.
    void startSession() {
        SessionConfiguration configuration;
        for (const char* name : {"userData", "userEvents", "activityStream", "userLocation"}) {
            configuration.apiSetting.push_back(FeatureDetails{.apiName = name, .enabled = true});
        }
        engine->config.replace(configuration);
        engine->collector->setSessionKey("s");
    }

    // Accelerometer that reads nothing; nothing samples it in these tests.
    class StillSensor final : public AccelerometerSource {
    public:
        bool isAccelerometerAvailable() override { return false; }
        void setAccelerometerUpdateInterval(std::chrono::milliseconds) override {}
        void startAccelerometerUpdates() override {}
        std::optional<AccelerometerSample> accelerometerData() override { return std::nullopt; }
    };

    TempDir directory;
    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    // The simulated network answers on this executor, on a clock of its own:
    // the test runs it when it wants the answers to arrive.
    std::shared_ptr<ManualExecutor> network = std::make_shared<ManualExecutor>(std::make_shared<FakeClock>());
    std::shared_ptr<ManualExecutor> manualQueue = std::make_shared<ManualExecutor>(clock);
    std::shared_ptr<SimulatedHttpClient> http = std::make_shared<SimulatedHttpClient>(network);
    std::shared_ptr<CapturingConsole> sink = std::make_shared<CapturingConsole>();
    std::shared_ptr<ManualPathMonitor> monitor = std::make_shared<ManualPathMonitor>(nullptr, true);
    std::unique_ptr<Engine> engine;
};

}  // namespace quarra::testing
