// The process engine and the process-wide names that reach into it.
#include <cstdlib>
#include <mutex>
#include <optional>

#include <quarra/tracking/ScreenAppearanceHooks.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>

#include "collector/Engine.hpp"
#include "transactions/QuarraAssembly.hpp"
#include "transactions/TransactionEventService.hpp"

namespace quarra {
namespace {

// The options configure() was given, until the process engine takes them.
struct PendingOptions {
    std::mutex mutex;
    std::optional<Options> options;
    bool engineBuilt = false;
};

PendingOptions& pending() {
    // Never destroyed: configure() may race with the exit.
    static auto* instance = new PendingOptions();
    return *instance;
}

Engine* gProcessEngine = nullptr;  // written once, before any thread of its own starts

void stopProcessEngineAtExit() {
    if (gProcessEngine) gProcessEngine->stopAtExit();
}

}  // namespace

bool configure(Options options) {
    auto& state = pending();
    std::lock_guard lock(state.mutex);
    if (state.engineBuilt || state.options) return false;
    state.options = std::move(options);
    return true;
}

Engine& Engine::process() {
    // Never destroyed: its threads are ended at exit instead, by the first
    // exit handler to run. One is registered now and one by the network
    // thread once the TLS library (which has an exit handler of its own) is
    // set up, so that the library stops before the TLS library is torn down.
    static Engine* engine = [] {
        Options options;
        {
            auto& state = pending();
            std::lock_guard lock(state.mutex);
            state.engineBuilt = true;
            if (state.options) options = std::move(*state.options);
        }
        EngineParts parts;
        parts.afterNetworkStart = [] { std::atexit(stopProcessEngineAtExit); };
        gProcessEngine = new Engine(std::move(options), std::move(parts));
        std::atexit(stopProcessEngineAtExit);
        return gProcessEngine;
    }();
    return *engine;
}

RequestsManager& RequestsManager::shared() { return Engine::process().requests; }
SessionConfigManager& SessionConfigManager::shared() { return Engine::process().config; }
DataCollectorEventsQueue& DataCollectorEventsQueue::shared() { return Engine::process().queue; }
LogManager& LogManager::shared() { return Engine::process().logs; }
ServerLogUtility& ServerLogUtility::shared() { return Engine::process().serverLog; }
KeychainWrapper& KeychainWrapper::standard() { return Engine::process().keychain; }
MotionManager& MotionManager::shared() { return *Engine::process().motion; }
ScreenAppearanceHooks& ScreenAppearanceHooks::shared() { return *Engine::process().screenHooks; }
std::shared_ptr<TextEditingNotificationCenter> TextEditingNotificationCenter::shared() {
    return Engine::process().notifications;
}
std::shared_ptr<const TrackingContext> sharedTrackingContext() { return Engine::process().tracking; }

std::shared_ptr<const TrackingContext> makeTrackingContext(std::shared_ptr<ReportSender> reports) {
    auto context = std::make_shared<TrackingContext>(*Engine::process().tracking);
    context->reports = std::move(reports);
    return context;
}

std::shared_ptr<Quarra> QuarraAssembly::makeDefault() {
    auto& engine = Engine::process();
    return make(std::make_shared<TransactionEventService>(engine.transactionNetwork, engine.keychain,
                                                          engine.baseUrls.platformTransactions, engine.hostWorker),
                engine.console);
}

}  // namespace quarra
