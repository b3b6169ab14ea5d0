#pragma once
// Everything the data-collector transport can send.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <quarra/Json.hpp>

#include "transport/URLRequestConvertible.hpp"

namespace quarra {

enum class BaseUrlType { dcBaseUrl, logBaseUrl };

class DataCollectorAPI final : public URLRequestConvertible {
public:
    // Declaration order matters: the nine report cases come first.
    enum class Case {
        userData,
        locationData,
        activityStreamData,
        userEventData,
        insertFignerPrintData,
        insertSocialData,
        insertPerformanceData,
        insertLogData,
        accelerometerData,
        sendDataAccessToken,
        sendData,
    };
    using Headers = std::map<std::string, std::string>;

    // The report cases: (path, timeout s, retry count, retry interval s).
    static DataCollectorAPI userData(std::string path, int64_t timeout, int64_t retryCount, int64_t retryInterval);
    static DataCollectorAPI locationData(std::string path, int64_t timeout, int64_t retryCount, int64_t retryInterval);
    static DataCollectorAPI activityStreamData(std::string path, int64_t timeout, int64_t retryCount, int64_t retryInterval);
    static DataCollectorAPI userEventData(std::string path, int64_t timeout, int64_t retryCount, int64_t retryInterval);
    static DataCollectorAPI insertFignerPrintData(std::string path, int64_t timeout, int64_t retryCount, int64_t retryInterval);
    static DataCollectorAPI insertSocialData(std::string path, int64_t timeout, int64_t retryCount, int64_t retryInterval);
    static DataCollectorAPI insertPerformanceData(std::string path, int64_t timeout, int64_t retryCount, int64_t retryInterval);
    static DataCollectorAPI insertLogData(std::string path, int64_t timeout, int64_t retryCount, int64_t retryInterval,
                                          BaseUrlType type);
    static DataCollectorAPI accelerometerData(std::string path, int64_t timeout, int64_t retryCount, int64_t retryInterval);
    // A report case chosen at run time (for example from a stored queue entry).
    static DataCollectorAPI report(Case reportCase, std::string path, int64_t timeout, int64_t retryCount,
                                   int64_t retryInterval);

    // The generic cases that actually go to the transport.
    static DataCollectorAPI sendDataAccessToken(JSONDictionary parameters, std::string headers, std::string path,
                                                std::optional<double> timeout, std::string retryCount, BaseUrlType type);
    static DataCollectorAPI sendData(JSONDictionary parameters, std::optional<Headers> headers, std::string path,
                                     std::optional<double> timeout, std::string retryCount, BaseUrlType type);
    // sendData with a body already written as JSON: its bytes go on the wire
    // as they are, shared by every attempt instead of serialised for each.
    static DataCollectorAPI sendEncoded(std::shared_ptr<const std::string> jsonBody, std::optional<Headers> headers,
                                     std::string path, std::optional<double> timeout, std::string retryCount,
                                     BaseUrlType type);

    Case kind() const { return case_; }
    bool isReport() const { return case_ < Case::sendDataAccessToken; }

    // The envelope key of the case ("userData", "events", ...; "" for the generic cases).
    std::string dataKey() const;
    std::string path() const override;
    std::optional<HttpRequest> asURLRequest() const override;
    std::optional<HttpRequest> asURLRequest(std::optional<std::string_view> baseUrl,
                                            std::optional<std::string_view> logBaseUrl) const override;

    // Associated values (meaningful only for the cases that carry them).
    int64_t timeoutSeconds() const { return reportTimeout_; }
    int64_t retryCountValue() const { return reportRetryCount_; }
    int64_t retryIntervalSeconds() const { return reportRetryInterval_; }
    const JSONDictionary& parameters() const { return parameters_; }
    const std::optional<Headers>& headers() const { return headers_; }
    const std::string& credential() const { return credential_; }  // sendDataAccessToken's header text
    std::optional<double> requestTimeout() const { return requestTimeout_; }
    const std::string& retryCountText() const { return retryCountText_; }
    BaseUrlType baseUrlType() const { return type_; }

    bool operator==(const DataCollectorAPI& other) const;

private:
    explicit DataCollectorAPI(Case c) : case_(c) {}

    Case case_;
    std::string path_;
    int64_t reportTimeout_ = 0;
    int64_t reportRetryCount_ = 0;
    int64_t reportRetryInterval_ = 0;
    JSONDictionary parameters_ = JSONDictionary::object();
    std::shared_ptr<const std::string> jsonBody_;  // null: `parameters_` are the body
    std::optional<Headers> headers_;
    std::string credential_;
    std::optional<double> requestTimeout_;
    std::string retryCountText_;
    BaseUrlType type_ = BaseUrlType::dcBaseUrl;
};

std::string_view caseName(DataCollectorAPI::Case c);
// The case of a name caseName() gives; nullopt for any other text.
std::optional<DataCollectorAPI::Case> caseFromName(std::string_view name);

}  // namespace quarra
