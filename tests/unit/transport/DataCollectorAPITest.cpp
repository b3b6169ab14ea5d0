#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/BaseUrls.hpp"
#include "transport/DataCollectorAPI.hpp"

namespace quarra {
namespace {

using Case = DataCollectorAPI::Case;
using std::chrono::milliseconds;

const std::string kBase = "https://dc.example.test/api/data/collect/";
const std::string kLogBase = "https://log.example.test/certification/v1/InsertLogData/";

std::string production() { return BaseUrls::from(ServiceOrigins{}).collectorProduction; }

DataCollectorAPI reportCase(Case c, std::string path) {
    return c == Case::insertLogData ? DataCollectorAPI::insertLogData(path, 10, 1, 3, BaseUrlType::dcBaseUrl)
                                    : DataCollectorAPI::report(c, path, 10, 1, 3);
}

TEST(DataCollectorAPI, DataKeyAndPathOfEveryCase) {
    struct Row {
        DataCollectorAPI api;
        const char* name;
        const char* dataKey;
        const char* path;
    };
    const Row rows[] = {
        {DataCollectorAPI::userData("UserData", 60, 1, 3), "userData", "userData", "UserData"},
        {DataCollectorAPI::locationData("Loc", 60, 1, 3), "locationData", "userLocation", "Loc"},
        {DataCollectorAPI::activityStreamData("AS", 60, 1, 3), "activityStreamData", "activityStream", "AS"},
        {DataCollectorAPI::userEventData("UE", 60, 1, 3), "userEventData", "events", "UE"},
        {DataCollectorAPI::insertFignerPrintData("FP", 60, 1, 3), "insertFignerPrintData", "fingerprintPro", "FP"},
        {DataCollectorAPI::insertSocialData("S", 60, 1, 3), "insertSocialData", "InsertSocialData", "S"},
        {DataCollectorAPI::insertPerformanceData("P", 60, 1, 3), "insertPerformanceData", "InsertPerformanceData", "P"},
        {DataCollectorAPI::insertLogData("L", 60, 1, 3, BaseUrlType::logBaseUrl), "insertLogData", "InsertLogData", "L"},
        {DataCollectorAPI::accelerometerData("Acc", 60, 1, 3), "accelerometerData", "accelerometerData", "Acc"},
        {DataCollectorAPI::sendDataAccessToken({}, "cred", "accessToken", 10.0, "1", BaseUrlType::dcBaseUrl),
         "sendDataAccessToken", "", "accessToken"},
        {DataCollectorAPI::sendData({}, std::nullopt, "activityStream", std::nullopt, "", BaseUrlType::dcBaseUrl),
         "sendData", "", "activityStream"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(caseName(row.api.kind()), row.name);
        EXPECT_EQ(row.api.dataKey(), row.dataKey) << row.name;
        EXPECT_EQ(row.api.path(), row.path) << row.name;
        EXPECT_EQ(row.api.isReport(), row.api.kind() < Case::sendDataAccessToken) << row.name;
    }
}

TEST(DataCollectorAPI, ReportCasesArePlainPostsWithAMinuteTimeout) {
    for (int i = 0; i <= static_cast<int>(Case::accelerometerData); ++i) {
        auto api = reportCase(static_cast<Case>(i), "Report");
        auto request = api.asURLRequest(kBase, kLogBase).value();
        EXPECT_EQ(request.method, "POST") << caseName(api.kind());
        EXPECT_EQ(request.url, kBase + "Report") << caseName(api.kind());
        EXPECT_TRUE(request.headers.empty()) << caseName(api.kind());
        EXPECT_FALSE(request.body.has_value()) << caseName(api.kind());
        EXPECT_EQ(request.timeout, milliseconds(60'000)) << caseName(api.kind());
        EXPECT_FALSE(request.collectResponseHeaders) << caseName(api.kind());
    }
}

TEST(DataCollectorAPI, URLFromTheChosenBaseAndThePath) {
    using Opt = std::optional<std::string>;
    struct Row {
        const char* what;
        DataCollectorAPI api;
        Opt base;
        Opt logBase;
        std::optional<std::string> url;  // nullopt: cannot be built
    };
    auto send = [](std::string path, BaseUrlType type) {
        return DataCollectorAPI::sendData({{"a", 1}}, std::nullopt, std::move(path), std::nullopt, "", type);
    };
    auto token = [](BaseUrlType type) {
        return DataCollectorAPI::sendDataAccessToken({}, "c", "accessToken", std::nullopt, "1", type);
    };
    const Row rows[] = {
        {"report on data base", DataCollectorAPI::userData("userData", 0, 0, 0), kBase, kLogBase, kBase + "userData"},
        {"report ignores log base", DataCollectorAPI::locationData("loc", 0, 0, 0), std::nullopt, kLogBase,
         production() + "loc"},
        {"log record on log base", DataCollectorAPI::insertLogData("", 0, 0, 0, BaseUrlType::logBaseUrl), kBase, kLogBase,
         kLogBase},
        {"log case typed for data base", DataCollectorAPI::insertLogData("x", 0, 0, 0, BaseUrlType::dcBaseUrl), kBase,
         kLogBase, kBase + "x"},
        {"sendData on data base", send("activityStream", BaseUrlType::dcBaseUrl), kBase, kLogBase,
         kBase + "activityStream"},
        {"sendData on log base", send("", BaseUrlType::logBaseUrl), kBase, kLogBase, kLogBase},
        {"no log base falls back to production", send("", BaseUrlType::logBaseUrl), kBase, std::nullopt, production()},
        {"no data base falls back to production", send("userData", BaseUrlType::dcBaseUrl), std::nullopt, kLogBase,
         production() + "userData"},
        {"token on data base", token(BaseUrlType::dcBaseUrl), kBase, kLogBase, kBase + "accessToken"},
        {"token on log base", token(BaseUrlType::logBaseUrl), kBase, kLogBase, kLogBase + "accessToken"},
        {"empty path is the base itself", send("", BaseUrlType::dcBaseUrl), kBase, std::nullopt, kBase},
        {"path with a blank drops the path", send("user Data", BaseUrlType::dcBaseUrl), kBase, std::nullopt, kBase},
        {"path with a line break drops the path", send("a\r\nHost: evil", BaseUrlType::dcBaseUrl), kBase, std::nullopt,
         kBase},
        {"base that is not a URL", send("x", BaseUrlType::dcBaseUrl), std::string("not a url/"), std::nullopt,
         std::nullopt},
        {"empty base", send("", BaseUrlType::logBaseUrl), kBase, std::string(""), std::nullopt},
        {"base with a bad port", send("x", BaseUrlType::dcBaseUrl), std::string("https://dc.test:99999/"), std::nullopt,
         std::nullopt},
        {"base of another scheme", send("x", BaseUrlType::dcBaseUrl), std::string("file:///etc/"), std::nullopt,
         std::nullopt},
    };
    for (const auto& row : rows) {
        auto request = row.api.asURLRequest(row.base, row.logBase);
        ASSERT_EQ(request.has_value(), row.url.has_value()) << row.what;
        if (request) {
            EXPECT_EQ(request->url, *row.url) << row.what;
        }
    }
}

TEST(DataCollectorAPI, WithoutBaseURLsEveryCaseGoesToProduction) {
    EXPECT_EQ(DataCollectorAPI::userData("userData", 0, 0, 0).asURLRequest()->url, production() + "userData");
    EXPECT_EQ(DataCollectorAPI::sendData({}, std::nullopt, "", std::nullopt, "", BaseUrlType::logBaseUrl)
                  .asURLRequest()
                  ->url,
              production());
    EXPECT_EQ(production().substr(production().size() - 18), "/api/data/collect/");
}

TEST(DataCollectorAPI, SendDataCarriesHeadersAndACompactJSONBody) {
    JSONDictionary envelope = {{"activityStream", {{{"url", "https://host/p"}, {"count", 2}}}},
                               {"sessionId", "key-1"},
                               {"clientName", "Demo"}};
    auto api = DataCollectorAPI::sendData(envelope, DataCollectorAPI::Headers{{"X-Trace", "t1"}}, "activityStream",
                                          std::nullopt, "", BaseUrlType::dcBaseUrl);
    auto request = api.asURLRequest(kBase, std::nullopt).value();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.header("X-Trace"), "t1");
    EXPECT_EQ(request.header("Content-Type"), "application/json");
    EXPECT_EQ(request.body,
              R"({"activityStream":[{"count":2,"url":"https:\/\/host\/p"}],"clientName":"Demo","sessionId":"key-1"})");
}

TEST(DataCollectorAPI, AContentTypeOfTheCallerIsKeptAndNotDoubled) {
    for (const char* name : {"Content-Type", "content-type"}) {
        auto api = DataCollectorAPI::sendData({{"a", 1}}, DataCollectorAPI::Headers{{name, "text/plain"}}, "x",
                                              std::nullopt, "", BaseUrlType::dcBaseUrl);
        auto request = api.asURLRequest(kBase, std::nullopt).value();
        EXPECT_EQ(request.headers, (HttpHeaders{{name, "text/plain"}})) << name;
        EXPECT_EQ(request.body, R"({"a":1})");
    }
}

TEST(DataCollectorAPI, AccessTokenCallCarriesABasicCredential) {
    auto api = DataCollectorAPI::sendDataAccessToken(JSONDictionary::object(), "dXNlcjprZXk=", "accessToken", 10.0, "1",
                                                     BaseUrlType::dcBaseUrl);
    auto request = api.asURLRequest("https://platform.test/api/", std::nullopt).value();
    EXPECT_EQ(request.url, "https://platform.test/api/accessToken");
    EXPECT_EQ(request.header("Authorization"), "Basic dXNlcjprZXk=");
    EXPECT_EQ(request.header("Content-Type"), "application/json");
    EXPECT_EQ(request.body, "{}");
    EXPECT_EQ(request.timeout, milliseconds(10'000));
}

TEST(DataCollectorAPI, UnserialisableParametersLeaveNoBodyAndNoContentType) {
    const JSONDictionary unserialisable[] = {
        {{"text", std::string("\xc3\x28")}},
        {{"n", std::numeric_limits<double>::quiet_NaN()}},
        {{"nested", {{"n", std::numeric_limits<double>::infinity()}}}},
    };
    for (const auto& parameters : unserialisable) {
        auto send = DataCollectorAPI::sendData(parameters, std::nullopt, "x", std::nullopt, "", BaseUrlType::dcBaseUrl)
                        .asURLRequest(kBase, std::nullopt)
                        .value();
        EXPECT_FALSE(send.body.has_value());
        EXPECT_TRUE(send.headers.empty());
        auto token = DataCollectorAPI::sendDataAccessToken(parameters, "c", "accessToken", std::nullopt, "1",
                                                           BaseUrlType::dcBaseUrl)
                         .asURLRequest(kBase, std::nullopt)
                         .value();
        EXPECT_FALSE(token.body.has_value());
        EXPECT_EQ(token.headers, (HttpHeaders{{"Authorization", "Basic c"}}));
    }
}

TEST(DataCollectorAPI, TimeOutsOfTheGenericCases) {
    struct Row {
        std::optional<double> timeout;
        milliseconds expected;
    };
    const Row rows[] = {
        {std::nullopt, milliseconds(3000)},
        {10.0, milliseconds(10'000)},
        {0.5, milliseconds(500)},
        {0.0, milliseconds(3000)},  // zero would mean "wait forever" to the client
        {-2.0, milliseconds(3000)},
        {std::numeric_limits<double>::quiet_NaN(), milliseconds(3000)},
        {1e300, milliseconds(86'400'000)},
    };
    for (const auto& row : rows) {
        auto send = DataCollectorAPI::sendData({}, std::nullopt, "", row.timeout, "", BaseUrlType::dcBaseUrl);
        auto token = DataCollectorAPI::sendDataAccessToken({}, "c", "accessToken", row.timeout, "1", BaseUrlType::dcBaseUrl);
        EXPECT_EQ(send.asURLRequest(kBase, std::nullopt)->timeout, row.expected) << row.timeout.value_or(-99);
        EXPECT_EQ(token.asURLRequest(kBase, std::nullopt)->timeout, row.expected) << row.timeout.value_or(-99);
    }
}

TEST(DataCollectorAPI, ValuesAreEqualOnlyWithEqualCaseAndAssociatedValues) {
    auto a = DataCollectorAPI::userData("userData", 10, 1, 3);
    EXPECT_EQ(a, DataCollectorAPI::userData("userData", 10, 1, 3));
    EXPECT_NE(a, DataCollectorAPI::locationData("userData", 10, 1, 3));
    EXPECT_NE(a, DataCollectorAPI::userData("userData", 10, 2, 3));
    auto s = DataCollectorAPI::sendData({{"k", "v"}}, std::nullopt, "p", 3.0, "", BaseUrlType::dcBaseUrl);
    EXPECT_EQ(s, DataCollectorAPI::sendData({{"k", "v"}}, std::nullopt, "p", 3.0, "", BaseUrlType::dcBaseUrl));
    EXPECT_NE(s, DataCollectorAPI::sendData({{"k", "w"}}, std::nullopt, "p", 3.0, "", BaseUrlType::dcBaseUrl));
    EXPECT_NE(s, DataCollectorAPI::sendData({{"k", "v"}}, std::nullopt, "p", 3.0, "", BaseUrlType::logBaseUrl));
}

}  // namespace
}  // namespace quarra
