#include "transport/DataCollectorAPI.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/BaseUrls.hpp"
#include "transport/RequestsManager.hpp"
#include "transport/URLValidation.hpp"

namespace quarra {
namespace {

using Case = DataCollectorAPI::Case;

struct CaseInfo {
    Case kind;
    std::string_view name;
    std::string_view dataKey;
};

constexpr std::array<CaseInfo, 11> kCases{{
    {Case::userData, "userData", "userData"},
    {Case::locationData, "locationData", "userLocation"},
    {Case::activityStreamData, "activityStreamData", "activityStream"},
    {Case::userEventData, "userEventData", "events"},
    {Case::insertFignerPrintData, "insertFignerPrintData", "fingerprintPro"},
    {Case::insertSocialData, "insertSocialData", "InsertSocialData"},
    {Case::insertPerformanceData, "insertPerformanceData", "InsertPerformanceData"},
    {Case::insertLogData, "insertLogData", "InsertLogData"},
    {Case::accelerometerData, "accelerometerData", "accelerometerData"},
    {Case::sendDataAccessToken, "sendDataAccessToken", ""},
    {Case::sendData, "sendData", ""},
}};

const CaseInfo& info(Case c) { return kCases[static_cast<size_t>(c)]; }

constexpr std::chrono::milliseconds kReportTimeout{60'000};
constexpr double kDefaultSendTimeoutSeconds = 3.0;
// Anything longer is surely a mistake; a day still leaves the caller in charge.
constexpr double kLongestTimeoutSeconds = 86'400.0;

// The caller's time-out, or the 3-second default when it is absent or not a
// usable duration (zero would mean "never time out" to the HTTP client).
std::chrono::milliseconds sendTimeout(std::optional<double> seconds) {
    double value = kDefaultSendTimeoutSeconds;
    if (seconds && std::isfinite(*seconds) && *seconds > 0) value = std::min(*seconds, kLongestTimeoutSeconds);
    return std::chrono::milliseconds(std::max<long long>(1, std::llround(value * 1000.0)));
}

}  // namespace

std::string_view caseName(DataCollectorAPI::Case c) { return info(c).name; }

std::optional<DataCollectorAPI::Case> caseFromName(std::string_view name) {
    for (const auto& entry : kCases) {
        if (entry.name == name) return entry.kind;
    }
    return std::nullopt;
}

DataCollectorAPI DataCollectorAPI::report(Case reportCase, std::string path, int64_t timeout, int64_t retryCount,
                                          int64_t retryInterval) {
    DataCollectorAPI api(reportCase);
    api.path_ = std::move(path);
    api.reportTimeout_ = timeout;
    api.reportRetryCount_ = retryCount;
    api.reportRetryInterval_ = retryInterval;
    return api;
}

DataCollectorAPI DataCollectorAPI::userData(std::string path, int64_t timeout, int64_t retryCount, int64_t retryInterval) {
    return report(Case::userData, std::move(path), timeout, retryCount, retryInterval);
}
DataCollectorAPI DataCollectorAPI::locationData(std::string path, int64_t timeout, int64_t retryCount,
                                                int64_t retryInterval) {
    return report(Case::locationData, std::move(path), timeout, retryCount, retryInterval);
}
DataCollectorAPI DataCollectorAPI::activityStreamData(std::string path, int64_t timeout, int64_t retryCount,
                                                      int64_t retryInterval) {
    return report(Case::activityStreamData, std::move(path), timeout, retryCount, retryInterval);
}
DataCollectorAPI DataCollectorAPI::userEventData(std::string path, int64_t timeout, int64_t retryCount,
                                                 int64_t retryInterval) {
    return report(Case::userEventData, std::move(path), timeout, retryCount, retryInterval);
}
DataCollectorAPI DataCollectorAPI::insertFignerPrintData(std::string path, int64_t timeout, int64_t retryCount,
                                                         int64_t retryInterval) {
    return report(Case::insertFignerPrintData, std::move(path), timeout, retryCount, retryInterval);
}
DataCollectorAPI DataCollectorAPI::insertSocialData(std::string path, int64_t timeout, int64_t retryCount,
                                                    int64_t retryInterval) {
    return report(Case::insertSocialData, std::move(path), timeout, retryCount, retryInterval);
}
DataCollectorAPI DataCollectorAPI::insertPerformanceData(std::string path, int64_t timeout, int64_t retryCount,
                                                         int64_t retryInterval) {
    return report(Case::insertPerformanceData, std::move(path), timeout, retryCount, retryInterval);
}
DataCollectorAPI DataCollectorAPI::insertLogData(std::string path, int64_t timeout, int64_t retryCount,
                                                 int64_t retryInterval, BaseUrlType type) {
    auto api = report(Case::insertLogData, std::move(path), timeout, retryCount, retryInterval);
    api.type_ = type;
    return api;
}
DataCollectorAPI DataCollectorAPI::accelerometerData(std::string path, int64_t timeout, int64_t retryCount,
                                                     int64_t retryInterval) {
    return report(Case::accelerometerData, std::move(path), timeout, retryCount, retryInterval);
}

DataCollectorAPI DataCollectorAPI::sendDataAccessToken(JSONDictionary parameters, std::string headers, std::string path,
                                                       std::optional<double> timeout, std::string retryCount,
                                                       BaseUrlType type) {
    DataCollectorAPI api(Case::sendDataAccessToken);
    api.parameters_ = std::move(parameters);
    api.credential_ = std::move(headers);
    api.path_ = std::move(path);
    api.requestTimeout_ = timeout;
    api.retryCountText_ = std::move(retryCount);
    api.type_ = type;
    return api;
}

DataCollectorAPI DataCollectorAPI::sendData(JSONDictionary parameters, std::optional<Headers> headers, std::string path,
                                            std::optional<double> timeout, std::string retryCount, BaseUrlType type) {
    DataCollectorAPI api(Case::sendData);
    api.parameters_ = std::move(parameters);
    api.headers_ = std::move(headers);
    api.path_ = std::move(path);
    api.requestTimeout_ = timeout;
    api.retryCountText_ = std::move(retryCount);
    api.type_ = type;
    return api;
}

DataCollectorAPI DataCollectorAPI::sendEncoded(std::shared_ptr<const std::string> jsonBody,
                                               std::optional<Headers> headers,
                                            std::string path, std::optional<double> timeout, std::string retryCount,
                                            BaseUrlType type) {
    DataCollectorAPI api = sendData(JSONDictionary::object(), std::move(headers), std::move(path), timeout,
                                    std::move(retryCount), type);
    api.jsonBody_ = std::move(jsonBody);
    return api;
}

std::string DataCollectorAPI::dataKey() const { return std::string(info(case_).dataKey); }

std::string DataCollectorAPI::path() const { return path_; }

std::optional<HttpRequest> DataCollectorAPI::asURLRequest() const { return asURLRequest(std::nullopt, std::nullopt); }

std::optional<HttpRequest> DataCollectorAPI::asURLRequest(std::optional<std::string_view> baseUrl,
                                                          std::optional<std::string_view> logBaseUrl) const {
    const bool carriesType = case_ == Case::insertLogData || case_ == Case::sendDataAccessToken || case_ == Case::sendData;
    const auto chosen = carriesType && type_ == BaseUrlType::logBaseUrl ? logBaseUrl : baseUrl;
    // Without a base the built-in production collector takes it; the
    // transport always passes the configured ones.
    std::string url;
    if (chosen) {
        url.reserve(chosen->size() + path_.size());
        url = *chosen;
    } else {
        url = BaseUrls::from(ServiceOrigins{}).collectorProduction;
    }
    const size_t baseLength = url.size();
    url += path_;

    HttpRequest request;
    request.method = "POST";
    request.collectResponseHeaders = false;  // answers are read by status and body alone
    if (isValidURL(url)) {
        request.url = std::move(url);
    } else if (url.resize(baseLength); isValidURL(url)) {
        request.url = std::move(url);  // a path that breaks the URL is dropped rather than the report
    } else {
        return std::nullopt;
    }

    switch (case_) {
        case Case::sendData:
            if (headers_) {
                request.headers.reserve(headers_->size() + 1);  // and a content type
                for (const auto& [name, value] : *headers_) request.headers.emplace_back(name, value);
            }
            request.timeout = sendTimeout(requestTimeout_);
            if (jsonBody_) {
                if (!request.header("Content-Type")) request.headers.emplace_back("Content-Type", "application/json");
                request.body = *jsonBody_;
                return request;
            }
            return RequestsManager::encodeJSONBody(std::move(request), parameters_);
        case Case::sendDataAccessToken:
            request.headers.emplace_back("Authorization", "Basic " + credential_);
            request.timeout = sendTimeout(requestTimeout_);
            return RequestsManager::encodeJSONBody(std::move(request), parameters_);
        default:
            request.timeout = kReportTimeout;
            return request;
    }
}

bool DataCollectorAPI::operator==(const DataCollectorAPI& other) const {
    return case_ == other.case_ && path_ == other.path_ && reportTimeout_ == other.reportTimeout_ &&
           reportRetryCount_ == other.reportRetryCount_ && reportRetryInterval_ == other.reportRetryInterval_ &&
           parameters_ == other.parameters_ &&
           (jsonBody_ == other.jsonBody_ || (jsonBody_ && other.jsonBody_ && *jsonBody_ == *other.jsonBody_)) &&
           headers_ == other.headers_ && credential_ == other.credential_ &&
           requestTimeout_ == other.requestTimeout_ && retryCountText_ == other.retryCountText_ && type_ == other.type_;
}

}  // namespace quarra
