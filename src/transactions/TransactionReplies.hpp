#pragma once
// The transaction platform's replies to the evaluation and cancellation
// requests. (The transaction-event reply, InitiateTransactionResponse, lives
// with the configuration documents.) decode() reads a whole body and gives
// none when it is not a JSON object of this shape; it never throws.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <quarra/Json.hpp>
#include <quarra/TransactionDocuments.hpp>

namespace quarra {

// Every field optional: a missing key or null leaves it absent, but a value of
// the wrong JSON type fails the document (e.g. "isGuaranteeable": true).
struct DataModel {
    std::optional<std::string> transactionID;       // "transactionId"
    std::optional<int64_t> score;                   // "score", a whole number
    std::optional<std::string> isGuaranteeable;     // "isGuaranteeable", text
    std::optional<std::string> evaluationDecision;  // "evaluationDecision"
    std::optional<std::vector<ScoreInsightsk>> scoreInsights;  // "scoreInsights"

    bool operator==(const DataModel&) const = default;
    JSONDictionary toJSON() const;
    static std::optional<DataModel> fromJSON(const JSONDictionary& json);
};

// Reply to every evaluation request. Since nothing is required, any JSON
// object decodes (an error body too, as a reply without data).
struct CompleteTransactionResponse {
    std::optional<std::string> apiVersion;  // "apiVersion"
    std::optional<std::string> time;        // "time"
    std::optional<DataModel> data;          // "data"

    bool operator==(const CompleteTransactionResponse&) const = default;
    JSONDictionary toJSON() const;
    static std::optional<CompleteTransactionResponse> fromJSON(const JSONDictionary& json);
    static std::optional<CompleteTransactionResponse> decode(std::string_view body);
};

struct DataStatus {
    std::string transactionStatus;  // "transactionStatus", required

    bool operator==(const DataStatus&) const = default;
    JSONDictionary toJSON() const;
    static std::optional<DataStatus> fromJSON(const JSONDictionary& json);
};

// Reply to the cancellation; all three keys required.
struct CancelTransactionResponse {
    std::string apiVersion;  // "apiVersion"
    std::string time;        // "time"
    DataStatus data;         // "data"

    bool operator==(const CancelTransactionResponse&) const = default;
    JSONDictionary toJSON() const;
    static std::optional<CancelTransactionResponse> fromJSON(const JSONDictionary& json);
    static std::optional<CancelTransactionResponse> decode(std::string_view body);
};

}  // namespace quarra
