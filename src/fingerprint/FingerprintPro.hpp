#pragma once
// Device identification: a stable visitor identifier for this device and API
// key, and a fresh request identifier for every call. Our own component in
// the place of a closed identification library, with the same surface.
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include <quarra/Clock.hpp>
#include <quarra/Executor.hpp>

namespace quarra {

// What travels with one identification request.
struct Metadata {
    explicit Metadata(std::optional<std::string> linkedId = std::nullopt) : linkedId(std::move(linkedId)) {}
    void setTag(std::string value, const std::string& key) { tags[key] = std::move(value); }

    std::optional<std::string> linkedId;
    std::map<std::string, std::string> tags;
};

struct FingerprintResponse {
    std::string visitorId;  // 20 letters and digits, the same on every call
    std::string requestId;  // "<milliseconds since 1970>.<6 letters and digits>", new on every call
};

class FingerprintClientProviding {
public:
    // Exactly one of the two is present.
    using Completion = std::function<void(std::optional<FingerprintResponse> response, std::optional<std::string> error)>;
    virtual ~FingerprintClientProviding() = default;
    // Returns at once; the completion runs on the identification queue.
    virtual void getVisitorIdResponse(Metadata metadata, Completion completion) = 0;
};

struct FingerprintClientOptions {
    std::filesystem::path factsRoot = "/";    // where /etc, /sys and /proc are found
    std::filesystem::path dataDirectory;       // keeps the fallback installation identifier
    std::shared_ptr<Executor> queue;           // runs the identification (file reads, hashing)
    std::shared_ptr<Clock> clock;              // stamps request identifiers
};

class FingerprintProFactory {
public:
    // A client for the API key; the identification runs on `options.queue`
    // (required). An empty key gives a client whose every request fails.
    static std::shared_ptr<FingerprintClientProviding> getInstance(const std::string& apiKey,
                                                                   FingerprintClientOptions options);
};

}  // namespace quarra
