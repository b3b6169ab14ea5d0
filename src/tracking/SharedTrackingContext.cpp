#include <cstdio>
#include <mutex>

#include "collector/CollectionService.hpp"
#include "device/MotionManager.hpp"
#include "platform/DeviceInfo.hpp"
#include "platform/Environment.hpp"
#include "tracking/TrackingContext.hpp"

namespace quarra {
namespace {

// The platform's system log: standard error, one line at a time.
class StderrSink final : public ConsoleSink {
public:
    void writeLine(std::string_view line) override {
        std::lock_guard lock(mutex_);
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fputc('\n', stderr);
    }

private:
    std::mutex mutex_;
};

// A shared pointer to a process-wide object that is never released.
template <typename T>
std::shared_ptr<T> unowned(T& object) {
    return std::shared_ptr<T>(std::shared_ptr<T>(), &object);
}

}  // namespace

std::shared_ptr<const TrackingContext> sharedTrackingContext() {
    static const auto* instance = [] {
        auto& environment = Environment::shared();
        auto context = std::make_shared<TrackingContext>();
        context->reports = CollectionService::shared();
        context->mainExecutor = environment.mainExecutor();
        context->reportExecutor = makeSerialQueue("quarra-tracking-reports");
        context->clock = environment.clock();
        context->console = unowned(environment.console());
        context->systemLog = std::make_shared<StderrSink>();
        context->device = unowned(DeviceInfo::shared());
        context->motion = unowned(MotionManager::shared());
        context->values = std::make_shared<TrackingValues>();
        context->notifications = TextEditingNotificationCenter::shared();
        return new std::shared_ptr<const TrackingContext>(std::move(context));
    }();
    return *instance;
}

}  // namespace quarra
