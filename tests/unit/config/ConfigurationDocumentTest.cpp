#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>

#include "config/ConfigurationDocument.hpp"
#include "config/InitiateTransactionsPostRequest.hpp"

namespace quarra {
namespace {

using json = JSONDictionary;
using Pointer = json::json_pointer;

json validDocument() {
    return json::parse(R"({
      "apiVersion": "1.0",
      "time": "2024-05-01T10:00:00Z",
      "data": {
        "transactionId": "TX-42",
        "customerName": "acme",
        "ipAddress": "10.1.2.3",
        "userAgent": "agent",
        "configuration": {
          "dataCollector": {
            "flags": {"visitorIDExpired": false, "flushStoredData": true, "logLevel": 2,
                      "fppenabled": true, "fpjsapiToken": "fp-token"},
            "baseEndPoints": {"baseDcUrl": "https://dc.example/api/data/collect/",
                              "baseLoggingUrl": "https://log.example/certification/v1/InsertLogData/"},
            "featureDetails": [
              {"apiName": "userData", "enabled": true, "retryCount": 2, "connectionTimeout": 4500,
               "retryInterval": 1500, "writeTimeout": 3000, "readTimeout": 3000}
            ]
          },
          "threatMetrix": {"sessionId": "tm-session", "orgId": "tm-org"}
        }
      }
    })");
}

const std::string kCollector = "/data/configuration/dataCollector";
const std::string kFlags = kCollector + "/flags";
const std::string kFirstFeature = kCollector + "/featureDetails/0";

struct Mutation {
    std::string name;
    std::string pointer;
    std::optional<json> value;  // nullopt: remove the key
    bool decodes;
};

void PrintTo(const Mutation& m, std::ostream* os) { *os << m.name; }

class DocumentDecoding : public ::testing::TestWithParam<Mutation> {};

TEST_P(DocumentDecoding, FollowsTheStrictRules) {
    const auto& m = GetParam();
    json document = validDocument();
    Pointer pointer(m.pointer);
    if (m.value) {
        document[pointer] = *m.value;
    } else {
        document[pointer.parent_pointer()].erase(pointer.back());
    }
    auto decoded = InitiateTransactionsResponse::decode(document.dump());
    EXPECT_EQ(decoded.has_value(), m.decodes) << document.dump();
}

const json kNull = nullptr;

INSTANTIATE_TEST_SUITE_P(
    Table, DocumentDecoding,
    ::testing::Values(
        Mutation{"unknown top-level key ignored", "/extra", json{{"a", 1}}, true},
        Mutation{"unknown flag ignored", kFlags + "/newFlag", true, true},
        Mutation{"apiVersion missing", "/apiVersion", std::nullopt, true},
        Mutation{"apiVersion null", "/apiVersion", kNull, true},
        Mutation{"apiVersion a number", "/apiVersion", 1, false},
        Mutation{"time missing", "/time", std::nullopt, true},
        Mutation{"data missing", "/data", std::nullopt, false},
        Mutation{"data null", "/data", kNull, false},
        Mutation{"data an array", "/data", json::array(), false},
        Mutation{"transactionId missing", "/data/transactionId", std::nullopt, true},
        Mutation{"transactionId null", "/data/transactionId", kNull, true},
        Mutation{"transactionId a number", "/data/transactionId", 42, false},
        Mutation{"userAgent a bool", "/data/userAgent", false, false},
        Mutation{"configuration missing", "/data/configuration", std::nullopt, false},
        Mutation{"dataCollector missing", kCollector, std::nullopt, false},
        Mutation{"threatMetrix missing", "/data/configuration/threatMetrix", std::nullopt, true},
        Mutation{"threatMetrix null", "/data/configuration/threatMetrix", kNull, true},
        Mutation{"threatMetrix empty", "/data/configuration/threatMetrix", json::object(), true},
        Mutation{"threatMetrix a text", "/data/configuration/threatMetrix", "tm", false},
        Mutation{"threatMetrix orgId a number", "/data/configuration/threatMetrix/orgId", 5, false},
        Mutation{"flags missing", kFlags, std::nullopt, false},
        Mutation{"visitorIDExpired missing", kFlags + "/visitorIDExpired", std::nullopt, false},
        Mutation{"visitorIDExpired as text", kFlags + "/visitorIDExpired", "true", false},
        Mutation{"visitorIDExpired as 1", kFlags + "/visitorIDExpired", 1, false},
        Mutation{"flushStoredData missing", kFlags + "/flushStoredData", std::nullopt, false},
        Mutation{"fppenabled null", kFlags + "/fppenabled", kNull, false},
        Mutation{"fpjsapiToken missing", kFlags + "/fpjsapiToken", std::nullopt, false},
        Mutation{"fpjsapiToken a number", kFlags + "/fpjsapiToken", 7, false},
        Mutation{"logLevel missing", kFlags + "/logLevel", std::nullopt, false},
        Mutation{"logLevel 2.5", kFlags + "/logLevel", 2.5, false},
        Mutation{"logLevel \"2\"", kFlags + "/logLevel", "2", false},
        Mutation{"logLevel \"true\"", kFlags + "/logLevel", "true", false},
        Mutation{"logLevel true", kFlags + "/logLevel", true, false},
        Mutation{"logLevel null", kFlags + "/logLevel", kNull, false},
        Mutation{"logLevel negative", kFlags + "/logLevel", -1, true},
        Mutation{"logLevel written 3.0", kFlags + "/logLevel", 3.0, true},
        Mutation{"logLevel INT64_MAX", kFlags + "/logLevel", INT64_MAX, true},
        Mutation{"logLevel INT64_MIN", kFlags + "/logLevel", INT64_MIN, true},
        Mutation{"logLevel INT64_MAX + 1", kFlags + "/logLevel", uint64_t{9223372036854775808ULL}, false},
        Mutation{"logLevel UINT64_MAX", kFlags + "/logLevel", UINT64_MAX, false},
        Mutation{"logLevel 1e300", kFlags + "/logLevel", 1e300, false},
        Mutation{"baseEndPoints missing", kCollector + "/baseEndPoints", std::nullopt, false},
        Mutation{"baseDcUrl missing", kCollector + "/baseEndPoints/baseDcUrl", std::nullopt, false},
        Mutation{"baseLoggingUrl null", kCollector + "/baseEndPoints/baseLoggingUrl", kNull, false},
        Mutation{"featureDetails missing", kCollector + "/featureDetails", std::nullopt, false},
        Mutation{"featureDetails null", kCollector + "/featureDetails", kNull, false},
        Mutation{"featureDetails an object", kCollector + "/featureDetails", json::object(), false},
        Mutation{"featureDetails empty", kCollector + "/featureDetails", json::array(), true},
        Mutation{"feature record null", kFirstFeature, kNull, false},
        Mutation{"feature apiName missing", kFirstFeature + "/apiName", std::nullopt, true},
        Mutation{"feature apiName null", kFirstFeature + "/apiName", kNull, true},
        Mutation{"feature apiName a number", kFirstFeature + "/apiName", 3, false},
        Mutation{"feature enabled missing", kFirstFeature + "/enabled", std::nullopt, false},
        Mutation{"feature enabled 0", kFirstFeature + "/enabled", 0, false},
        Mutation{"feature retryCount text", kFirstFeature + "/retryCount", "2", false},
        Mutation{"feature connectionTimeout 2.5", kFirstFeature + "/connectionTimeout", 2.5, false},
        Mutation{"feature retryInterval missing", kFirstFeature + "/retryInterval", std::nullopt, false},
        Mutation{"feature writeTimeout false", kFirstFeature + "/writeTimeout", false, false},
        Mutation{"feature readTimeout missing", kFirstFeature + "/readTimeout", std::nullopt, false},
        Mutation{"second feature record broken", kCollector + "/featureDetails/1", json{{"apiName", "x"}}, false}),
    [](const auto& info) {
        std::string name;
        for (char c : info.param.name) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

TEST(DocumentDecoding, ReadsEveryField) {
    auto decoded = InitiateTransactionsResponse::decode(validDocument().dump());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->apiVersion, "1.0");
    EXPECT_EQ(decoded->data.transactionId, "TX-42");
    EXPECT_EQ(decoded->data.userAgent, "agent");
    const auto& collector = decoded->data.configuration.dataCollector;
    EXPECT_EQ(collector.flags, (Flags{.visitorIDExpired = false, .flushStoredData = true, .logLevel = 2,
                                      .fppenabled = true, .fpjsapiToken = "fp-token"}));
    EXPECT_EQ(collector.baseEndPoints.baseDcUrl, "https://dc.example/api/data/collect/");
    EXPECT_EQ(collector.baseEndPoints.baseLoggingUrl, "https://log.example/certification/v1/InsertLogData/");
    ASSERT_EQ(collector.featureDetails.size(), 1u);
    EXPECT_EQ(collector.featureDetails[0],
              (FeatureDetails{.apiName = "userData", .enabled = true, .retryCount = 2, .connectionTimeout = 4500,
                              .retryInterval = 1500, .writeTimeout = 3000, .readTimeout = 3000}));
    EXPECT_EQ(decoded->data.configuration.threatMetrix, (ThreatMatrix{.sessionId = "tm-session", .orgId = "tm-org"}));
}

TEST(DocumentDecoding, OptionalTextsThatAreNullOrMissingStayAbsent) {
    json document = validDocument();
    document["data"]["transactionId"] = nullptr;
    document["data"].erase("customerName");
    document["data"]["configuration"].erase("threatMetrix");
    document[Pointer(kFirstFeature)].erase("apiName");
    auto decoded = InitiateTransactionsResponse::decode(document.dump());
    ASSERT_TRUE(decoded);
    EXPECT_FALSE(decoded->data.transactionId);
    EXPECT_FALSE(decoded->data.customerName);
    EXPECT_FALSE(decoded->data.configuration.threatMetrix);
    ASSERT_EQ(decoded->data.configuration.dataCollector.featureDetails.size(), 1u);
    EXPECT_FALSE(decoded->data.configuration.dataCollector.featureDetails[0].apiName);
}

TEST(DocumentDecoding, BodiesThatAreNotAnObjectDocumentFail) {
    const std::string whole = validDocument().dump();
    for (const std::string& body : {std::string(), std::string("not json"), std::string("[]"), std::string("null"),
                                   std::string("\"text\""), std::string("42"),
                                   std::string(R"({"ResponseCode":"401","ResponseText":"Unauthorized"})"),
                                   whole.substr(0, whole.size() / 2), whole + "}", std::string("\xff\xfe{}")}) {
        EXPECT_FALSE(InitiateTransactionsResponse::decode(body)) << body;
    }
}

TEST(DocumentDecoding, WrittenFormDecodesToTheSameDocument) {
    auto decoded = InitiateTransactionsResponse::decode(validDocument().dump());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(InitiateTransactionsResponse::decode(decoded->toJSON().dump()), decoded);

    json sparse = validDocument();
    sparse.erase("apiVersion");
    sparse["data"].erase("transactionId");
    sparse["data"]["configuration"].erase("threatMetrix");
    auto sparseDecoded = InitiateTransactionsResponse::decode(sparse.dump());
    ASSERT_TRUE(sparseDecoded);
    json written = sparseDecoded->toJSON();
    EXPECT_FALSE(written.contains("apiVersion"));
    EXPECT_FALSE(written["data"].contains("transactionId"));
    EXPECT_FALSE(written["data"]["configuration"].contains("threatMetrix"));
    EXPECT_EQ(InitiateTransactionsResponse::fromJSON(written), sparseDecoded);
}

TEST(TransactionReplyDecoding, NeedsAllThreeTextsAndTheId) {
    struct Case {
        std::string body;
        bool decodes;
    };
    const Case cases[] = {
        {R"({"apiVersion":"1","time":"t","data":{"transactionId":"T-1"},"extra":true})", true},
        {R"({"time":"t","data":{"transactionId":"T-1"}})", false},
        {R"({"apiVersion":"1","time":null,"data":{"transactionId":"T-1"}})", false},
        {R"({"apiVersion":"1","time":"t","data":{}})", false},
        {R"({"apiVersion":"1","time":"t","data":{"transactionID":"T-1"}})", false},
        {R"({"apiVersion":"1","time":"t","data":{"transactionId":7}})", false},
        {R"({"apiVersion":"1","time":"t","data":"T-1"})", false},
        {"[]", false},
    };
    for (const auto& c : cases) {
        auto decoded = InitiateTransactionResponse::decode(c.body);
        EXPECT_EQ(decoded.has_value(), c.decodes) << c.body;
        if (decoded) {
            EXPECT_EQ(decoded->data.transactionID, "T-1");
            EXPECT_EQ(InitiateTransactionResponse::decode(decoded->toJSON().dump()), decoded);
        }
    }
}

TEST(InitiateTransactionsPostRequest, JsonHasExactlyTheTwoAddressKeys) {
    InitiateTransactionsPostRequest request("fe80::1", "192.168.1.5");
    const json expected = {{"ipV6Address", "fe80::1"}, {"ipV4Address", "192.168.1.5"}};
    EXPECT_EQ(request.toJSON(), expected);
    EXPECT_EQ(request.parameters, expected);
}

}  // namespace
}  // namespace quarra
