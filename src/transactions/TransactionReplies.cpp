#include "transactions/TransactionReplies.hpp"

#include "base/JsonText.hpp"
#include "transactions/DocumentReader.hpp"

namespace quarra {
namespace {

void putIfPresent(JSONDictionary& json, const char* key, const std::optional<std::string>& value) {
    if (value) json[key] = *value;
}

template <class Document>
std::optional<Document> decodeBody(std::string_view body) {
    auto json = parseJSON(body);
    if (!json) return std::nullopt;
    return Document::fromJSON(*json);
}

}  // namespace

JSONDictionary DataModel::toJSON() const {
    auto json = JSONDictionary::object();
    putIfPresent(json, "transactionId", transactionID);
    if (score) json["score"] = *score;
    putIfPresent(json, "isGuaranteeable", isGuaranteeable);
    putIfPresent(json, "evaluationDecision", evaluationDecision);
    if (scoreInsights) json["scoreInsights"] = listToJSON(*scoreInsights);
    return json;
}

std::optional<DataModel> DataModel::fromJSON(const JSONDictionary& json) {
    DocumentReader reader(json);
    DataModel model;
    model.transactionID = reader.optional<std::string>("transactionId");
    model.score = reader.optional<int64_t>("score");
    model.isGuaranteeable = reader.optional<std::string>("isGuaranteeable");
    model.evaluationDecision = reader.optional<std::string>("evaluationDecision");
    model.scoreInsights = reader.optional<std::vector<ScoreInsightsk>>("scoreInsights");
    if (!reader.ok()) return std::nullopt;
    return model;
}

JSONDictionary CompleteTransactionResponse::toJSON() const {
    auto json = JSONDictionary::object();
    putIfPresent(json, "apiVersion", apiVersion);
    putIfPresent(json, "time", time);
    if (data) json["data"] = data->toJSON();
    return json;
}

std::optional<CompleteTransactionResponse> CompleteTransactionResponse::fromJSON(const JSONDictionary& json) {
    DocumentReader reader(json);
    CompleteTransactionResponse response;
    response.apiVersion = reader.optional<std::string>("apiVersion");
    response.time = reader.optional<std::string>("time");
    response.data = reader.optional<DataModel>("data");
    if (!reader.ok()) return std::nullopt;
    return response;
}

std::optional<CompleteTransactionResponse> CompleteTransactionResponse::decode(std::string_view body) {
    return decodeBody<CompleteTransactionResponse>(body);
}

JSONDictionary DataStatus::toJSON() const { return {{"transactionStatus", transactionStatus}}; }

std::optional<DataStatus> DataStatus::fromJSON(const JSONDictionary& json) {
    DocumentReader reader(json);
    auto transactionStatus = reader.required<std::string>("transactionStatus");
    if (!reader.ok()) return std::nullopt;
    return DataStatus{std::move(*transactionStatus)};
}

JSONDictionary CancelTransactionResponse::toJSON() const {
    return {{"apiVersion", apiVersion}, {"time", time}, {"data", data.toJSON()}};
}

std::optional<CancelTransactionResponse> CancelTransactionResponse::fromJSON(const JSONDictionary& json) {
    DocumentReader reader(json);
    auto apiVersion = reader.required<std::string>("apiVersion");
    auto time = reader.required<std::string>("time");
    auto data = reader.required<DataStatus>("data");
    if (!reader.ok()) return std::nullopt;
    return CancelTransactionResponse{std::move(*apiVersion), std::move(*time), std::move(*data)};
}

std::optional<CancelTransactionResponse> CancelTransactionResponse::decode(std::string_view body) {
    return decodeBody<CancelTransactionResponse>(body);
}

}  // namespace quarra
