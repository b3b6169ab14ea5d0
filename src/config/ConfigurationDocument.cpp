#include "config/ConfigurationDocument.hpp"

#include "config/StrictFields.hpp"
#include "base/JsonText.hpp"

namespace quarra {
namespace {

using strict::optionalString;
using strict::present;
using strict::requiredBool;
using strict::requiredInteger;
using strict::requiredString;

// Each reader takes the value found under its key and fills `out`; false
// fails the whole document.

bool readFeatureDetails(const JSONDictionary& json, FeatureDetails& out) {
    return json.is_object() && optionalString(json, "apiName", out.apiName) &&
           requiredBool(json, "enabled", out.enabled) && requiredInteger(json, "retryCount", out.retryCount) &&
           requiredInteger(json, "connectionTimeout", out.connectionTimeout) &&
           requiredInteger(json, "retryInterval", out.retryInterval) &&
           requiredInteger(json, "writeTimeout", out.writeTimeout) &&
           requiredInteger(json, "readTimeout", out.readTimeout);
}

bool readFlags(const JSONDictionary& json, Flags& out) {
    return json.is_object() && requiredBool(json, "visitorIDExpired", out.visitorIDExpired) &&
           requiredBool(json, "flushStoredData", out.flushStoredData) &&
           requiredInteger(json, "logLevel", out.logLevel) && requiredBool(json, "fppenabled", out.fppenabled) &&
           requiredString(json, "fpjsapiToken", out.fpjsapiToken);
}

bool readBaseEndPoints(const JSONDictionary& json, BaseEndPoints& out) {
    return json.is_object() && requiredString(json, "baseDcUrl", out.baseDcUrl) &&
           requiredString(json, "baseLoggingUrl", out.baseLoggingUrl);
}

template <typename T, typename Reader>
bool requiredObject(const JSONDictionary& parent, const char* key, T& out, Reader reader) {
    const auto* value = present(parent, key);
    return value != nullptr && reader(*value, out);
}

bool readDataCollector(const JSONDictionary& json, DataCollector& out) {
    if (!json.is_object() || !requiredObject(json, "flags", out.flags, readFlags) ||
        !requiredObject(json, "baseEndPoints", out.baseEndPoints, readBaseEndPoints)) {
        return false;
    }
    const auto* list = present(json, "featureDetails");
    if (list == nullptr || !list->is_array()) return false;
    out.featureDetails.clear();
    out.featureDetails.reserve(list->size());
    for (const auto& item : *list) {
        FeatureDetails details;
        if (!readFeatureDetails(item, details)) return false;
        out.featureDetails.push_back(std::move(details));
    }
    return true;
}

bool readThreatMatrix(const JSONDictionary& json, ThreatMatrix& out) {
    return json.is_object() && optionalString(json, "sessionId", out.sessionId) &&
           optionalString(json, "orgId", out.orgId);
}

bool readConfiguration(const JSONDictionary& json, Configuration& out) {
    if (!json.is_object() || !requiredObject(json, "dataCollector", out.dataCollector, readDataCollector)) {
        return false;
    }
    out.threatMetrix.reset();
    if (const auto* threat = present(json, "threatMetrix")) {
        ThreatMatrix matrix;
        if (!readThreatMatrix(*threat, matrix)) return false;
        out.threatMetrix = std::move(matrix);
    }
    return true;
}

bool readResponseData(const JSONDictionary& json, ResponseData& out) {
    return json.is_object() && optionalString(json, "transactionId", out.transactionId) &&
           optionalString(json, "customerName", out.customerName) &&
           optionalString(json, "ipAddress", out.ipAddress) && optionalString(json, "userAgent", out.userAgent) &&
           requiredObject(json, "configuration", out.configuration, readConfiguration);
}

JSONDictionary featureDetailsJSON(const FeatureDetails& details) {
    JSONDictionary json = JSONDictionary::object();
    strict::putIfPresent(json, "apiName", details.apiName);
    json["enabled"] = details.enabled;
    json["retryCount"] = details.retryCount;
    json["connectionTimeout"] = details.connectionTimeout;
    json["retryInterval"] = details.retryInterval;
    json["writeTimeout"] = details.writeTimeout;
    json["readTimeout"] = details.readTimeout;
    return json;
}

JSONDictionary dataCollectorJSON(const DataCollector& collector) {
    const auto& flags = collector.flags;
    JSONDictionary list = JSONDictionary::array();
    for (const auto& details : collector.featureDetails) list.push_back(featureDetailsJSON(details));
    return {
        {"flags",
         {{"visitorIDExpired", flags.visitorIDExpired},
          {"flushStoredData", flags.flushStoredData},
          {"logLevel", flags.logLevel},
          {"fppenabled", flags.fppenabled},
          {"fpjsapiToken", flags.fpjsapiToken}}},
        {"baseEndPoints",
         {{"baseDcUrl", collector.baseEndPoints.baseDcUrl},
          {"baseLoggingUrl", collector.baseEndPoints.baseLoggingUrl}}},
        {"featureDetails", std::move(list)},
    };
}

}  // namespace

std::optional<InitiateTransactionsResponse> InitiateTransactionsResponse::fromJSON(const JSONDictionary& json) {
    InitiateTransactionsResponse document;
    if (!json.is_object() || !optionalString(json, "apiVersion", document.apiVersion) ||
        !optionalString(json, "time", document.time) ||
        !requiredObject(json, "data", document.data, readResponseData)) {
        return std::nullopt;
    }
    return document;
}

std::optional<InitiateTransactionsResponse> InitiateTransactionsResponse::decode(std::string_view body) {
    auto json = parseJSON(body);
    if (!json) return std::nullopt;
    return fromJSON(*json);
}

JSONDictionary InitiateTransactionsResponse::toJSON() const {
    JSONDictionary configuration = {{"dataCollector", dataCollectorJSON(data.configuration.dataCollector)}};
    if (const auto& threat = data.configuration.threatMetrix) {
        JSONDictionary matrix = JSONDictionary::object();
        strict::putIfPresent(matrix, "sessionId", threat->sessionId);
        strict::putIfPresent(matrix, "orgId", threat->orgId);
        configuration["threatMetrix"] = std::move(matrix);
    }
    JSONDictionary dataJSON = {{"configuration", std::move(configuration)}};
    strict::putIfPresent(dataJSON, "transactionId", data.transactionId);
    strict::putIfPresent(dataJSON, "customerName", data.customerName);
    strict::putIfPresent(dataJSON, "ipAddress", data.ipAddress);
    strict::putIfPresent(dataJSON, "userAgent", data.userAgent);

    JSONDictionary json = {{"data", std::move(dataJSON)}};
    strict::putIfPresent(json, "apiVersion", apiVersion);
    strict::putIfPresent(json, "time", time);
    return json;
}

std::optional<InitiateTransactionResponse> InitiateTransactionResponse::decode(std::string_view body) {
    auto json = parseJSON(body);
    if (!json || !json->is_object()) return std::nullopt;
    InitiateTransactionResponse reply;
    const auto* data = present(*json, "data");
    if (!requiredString(*json, "apiVersion", reply.apiVersion) || !requiredString(*json, "time", reply.time) ||
        data == nullptr || !data->is_object() || !requiredString(*data, "transactionId", reply.data.transactionID)) {
        return std::nullopt;
    }
    return reply;
}

JSONDictionary InitiateTransactionResponse::toJSON() const {
    return {{"apiVersion", apiVersion}, {"time", time}, {"data", {{"transactionId", data.transactionID}}}};
}

}  // namespace quarra
