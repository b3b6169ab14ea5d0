#pragma once
// Injected faults for tests and demos: the next n requests under a path
// prefix wait, answer with a chosen code or status, or lose their connection.
// The list is owned by one mutex; waits end early when the service stops.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

namespace quarra::service {

struct Fault {
    std::string pathPrefix;
    std::optional<std::string> responseCode;
    std::optional<int> httpStatus;
    std::chrono::milliseconds delay{0};
    bool drop = false;
    int remaining = 1;

    // From {"path", "responseCode", "httpStatus", "delayMs", "drop", "count"};
    // a message naming the bad key otherwise.
    static std::variant<Fault, std::string> fromJson(const nlohmann::json& document);
    nlohmann::json toJson() const;
};

class Faults {
public:
    void add(Fault fault);
    // Removes every fault; returns how many there were.
    std::size_t clear();
    nlohmann::json describe();

    // The first fault whose prefix matches, with one use taken off it (it is
    // removed when used up); nothing when none matches.
    std::optional<Fault> take(const std::string& path);

    // Waits for the fault's delay; false when the service began stopping.
    bool wait(std::chrono::milliseconds delay);
    void stopWaiting();

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<Fault> faults_;
    bool stopping_ = false;
};

}  // namespace quarra::service
