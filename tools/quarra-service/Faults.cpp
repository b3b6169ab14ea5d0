#include "Faults.hpp"

namespace quarra::service {
namespace {

using Json = nlohmann::json;

constexpr std::int64_t kLongestDelayMs = 60'000;
constexpr std::int64_t kMostUses = 1'000'000;

// A whole number within [low, high] under `key`, or a message.
std::variant<std::int64_t, std::string> wholeNumber(const Json& document, const char* key, std::int64_t low,
                                                    std::int64_t high) {
    const auto& value = document[key];
    bool fits = value.is_number_unsigned() ? value.get<std::uint64_t>() <= static_cast<std::uint64_t>(high)
                                           : value.is_number_integer();
    if (!fits || value.get<std::int64_t>() < low || value.get<std::int64_t>() > high) {
        return std::string(key) + " must be a whole number from " + std::to_string(low) + " to " +
               std::to_string(high);
    }
    return value.get<std::int64_t>();
}

}  // namespace

std::variant<Fault, std::string> Fault::fromJson(const Json& document) {
    if (!document.is_object()) return std::string("a fault must be a JSON object");
    Fault fault;
    bool hasPath = false;
    for (const auto& [key, value] : document.items()) {
        if (key == "path") {
            if (!value.is_string() || !value.get<std::string>().starts_with("/")) {
                return std::string("path must be a string starting with /");
            }
            fault.pathPrefix = value.get<std::string>();
            hasPath = true;
        } else if (key == "responseCode") {
            if (!value.is_string()) return std::string("responseCode must be a string");
            fault.responseCode = value.get<std::string>();
        } else if (key == "httpStatus") {
            auto status = wholeNumber(document, "httpStatus", 200, 599);
            if (auto* problem = std::get_if<std::string>(&status)) return *problem;
            fault.httpStatus = static_cast<int>(std::get<std::int64_t>(status));
        } else if (key == "delayMs") {
            auto delay = wholeNumber(document, "delayMs", 0, kLongestDelayMs);
            if (auto* problem = std::get_if<std::string>(&delay)) return *problem;
            fault.delay = std::chrono::milliseconds(std::get<std::int64_t>(delay));
        } else if (key == "drop") {
            if (!value.is_boolean()) return std::string("drop must be true or false");
            fault.drop = value.get<bool>();
        } else if (key == "count") {
            auto count = wholeNumber(document, "count", 1, kMostUses);
            if (auto* problem = std::get_if<std::string>(&count)) return *problem;
            fault.remaining = static_cast<int>(std::get<std::int64_t>(count));
        } else {
            return "unknown key: " + key;
        }
    }
    if (!hasPath) return std::string("path is required");
    if (!fault.responseCode && !fault.httpStatus && fault.delay.count() == 0 && !fault.drop) {
        return std::string("a fault needs responseCode, httpStatus, delayMs or drop");
    }
    return fault;
}

Json Fault::toJson() const {
    Json out{{"path", pathPrefix}, {"delayMs", delay.count()}, {"drop", drop}, {"count", remaining}};
    if (responseCode) out["responseCode"] = *responseCode;
    if (httpStatus) out["httpStatus"] = *httpStatus;
    return out;
}

void Faults::add(Fault fault) {
    std::lock_guard lock(mutex_);
    faults_.push_back(std::move(fault));
}

std::size_t Faults::clear() {
    std::lock_guard lock(mutex_);
    auto count = faults_.size();
    faults_.clear();
    return count;
}

Json Faults::describe() {
    std::lock_guard lock(mutex_);
    auto list = Json::array();
    for (const auto& fault : faults_) list.push_back(fault.toJson());
    return {{"faults", std::move(list)}};
}

std::optional<Fault> Faults::take(const std::string& path) {
    std::lock_guard lock(mutex_);
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (!path.starts_with(it->pathPrefix)) continue;
        Fault used = *it;
        if (--it->remaining == 0) faults_.erase(it);
        return used;
    }
    return std::nullopt;
}

bool Faults::wait(std::chrono::milliseconds delay) {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, delay, [this] { return stopping_; });
    return !stopping_;
}

void Faults::stopWaiting() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
}

}  // namespace quarra::service
