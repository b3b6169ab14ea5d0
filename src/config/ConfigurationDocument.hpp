#pragma once
// The session configuration document handed out by the initiate call.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <quarra/Json.hpp>

namespace quarra {

// Settings of one API. Times are in milliseconds.
struct FeatureDetails {
    std::optional<std::string> apiName;  // a record without a name is never found
    bool enabled = false;
    int64_t retryCount = 0;
    int64_t connectionTimeout = 0;
    int64_t retryInterval = 0;
    int64_t writeTimeout = 0;
    int64_t readTimeout = 0;
    bool operator==(const FeatureDetails&) const = default;
};

struct Flags {
    bool visitorIDExpired = false;  // "visitorIDExpired"
    bool flushStoredData = false;   // "flushStoredData"
    int64_t logLevel = 0;           // "logLevel"
    bool fppenabled = false;        // "fppenabled"
    std::string fpjsapiToken;       // "fpjsapiToken"
    bool operator==(const Flags&) const = default;
};

struct BaseEndPoints {
    std::string baseDcUrl;
    std::string baseLoggingUrl;
    bool operator==(const BaseEndPoints&) const = default;
};

struct DataCollector {
    Flags flags;
    BaseEndPoints baseEndPoints;
    std::vector<FeatureDetails> featureDetails;
    bool operator==(const DataCollector&) const = default;
};

struct ThreatMatrix {
    std::optional<std::string> sessionId;
    std::optional<std::string> orgId;
    bool operator==(const ThreatMatrix&) const = default;
};

struct Configuration {
    DataCollector dataCollector;                // "dataCollector"
    std::optional<ThreatMatrix> threatMetrix;   // "threatMetrix"
    bool operator==(const Configuration&) const = default;
};

struct ResponseData {
    std::optional<std::string> transactionId;
    std::optional<std::string> customerName;
    std::optional<std::string> ipAddress;
    std::optional<std::string> userAgent;
    Configuration configuration;
    bool operator==(const ResponseData&) const = default;
};

struct InitiateTransactionsResponse {
    std::optional<std::string> apiVersion;
    std::optional<std::string> time;
    ResponseData data;
    bool operator==(const InitiateTransactionsResponse&) const = default;

    // Strict decoding: a required key missing or of the wrong JSON type fails
    // the whole document; optional keys may be missing or null; unknown keys
    // are ignored. Integers must be whole numbers (2.5 fails).
    static std::optional<InitiateTransactionsResponse> decode(std::string_view body);
    static std::optional<InitiateTransactionsResponse> fromJSON(const JSONDictionary& json);
    JSONDictionary toJSON() const;
};

// The shorter reply of the transaction-event call.
struct DataClass {
    std::string transactionID;  // "transactionId"
    bool operator==(const DataClass&) const = default;
};

struct InitiateTransactionResponse {
    std::string apiVersion;
    std::string time;
    DataClass data;
    bool operator==(const InitiateTransactionResponse&) const = default;

    static std::optional<InitiateTransactionResponse> decode(std::string_view body);
    JSONDictionary toJSON() const;
};

}  // namespace quarra
