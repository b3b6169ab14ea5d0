// quarra-service as its clients meet it: the real binary on 127.0.0.1, spoken
// to over HTTPS that trusts the CA it printed.
#ifdef QUARRA_SERVICE_BINARY

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <openssl/evp.h>

#include <csignal>
#include <fstream>
#include <map>
#include <future>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "config/ConfigurationDocument.hpp"
#include "credentials/AccessTokenService.hpp"
#include "logging/InsertLogDataResponse.hpp"
#include "support/ProgramRun.hpp"
#include "support/ServiceProcess.hpp"
#include "support/TempDir.hpp"
#include "transactions/ErrorModel.hpp"
#include "transactions/TransactionReplies.hpp"

namespace quarra::testing {
namespace {

using Json = nlohmann::json;
namespace fs = std::filesystem;

struct Reply {
    bool delivered = false;  // false: no HTTP answer at all (connection lost)
    int status = 0;
    Json body;
    std::string raw;
    httplib::Headers headers;
};

std::string base64(const std::string& text) {
    std::string out(4 * ((text.size() + 2) / 3) + 1, '\0');
    int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                 reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
    out.resize(static_cast<std::size_t>(length));
    return out;
}

std::string basic(const std::string& user, const std::string& secret) { return "Basic " + base64(user + ":" + secret); }

// A service with its own data directory, started for one test or one suite.
class Service {
public:
    explicit Service(std::vector<std::string> arguments = {}, const fs::path* dataDirectory = nullptr)
        : dataDirectory_(dataDirectory != nullptr ? *dataDirectory : directory_.path() / "data") {
        // A server that refuses a body mid-upload must fail the request, not end the test program.
        std::signal(SIGPIPE, SIG_IGN);
        arguments.insert(arguments.begin(), {"--data-dir", dataDirectory_.string(), "--quiet"});
        process_ = std::make_unique<ServiceProcess>(QUARRA_SERVICE_BINARY, arguments, directory_.path() / "stderr.txt");
    }

    ServiceProcess& process() { return *process_; }
    const fs::path& dataDirectory() const { return dataDirectory_; }

    Reply send(const std::string& method, const std::string& path, const std::string& body = {},
               httplib::Headers headers = {}, const std::string& contentType = "application/json",
               const std::string& host = "127.0.0.1") {
        httplib::SSLClient client(host, process_->port());
        client.set_ca_cert_path(process_->caFile());
        client.enable_server_certificate_verification(true);
        client.set_read_timeout(20);
        httplib::Request request;
        request.method = method;
        request.path = path;
        request.headers = std::move(headers);
        request.body = body;
        if (!contentType.empty()) request.set_header("Content-Type", contentType);
        auto result = client.send(request);
        Reply reply;
        if (!result) return reply;
        reply.delivered = true;
        reply.status = result->status;
        reply.headers = result->headers;
        reply.raw = result->body;
        reply.body = Json::parse(result->body, nullptr, /*allow_exceptions=*/false);
        return reply;
    }

    Reply post(const std::string& path, const Json& body, httplib::Headers headers = {}) {
        return send("POST", path, body.dump(), std::move(headers));
    }

    std::string accessToken(const std::string& user = "demo", const std::string& secret = "demo-secret") {
        auto reply = post("/api/accessToken", Json::object(), {{"Authorization", basic(user, secret)}});
        return reply.body.value("accessToken", "");
    }

    httplib::Headers bearer(const std::string& token) { return {{"Authorization", "Bearer " + token}}; }

    // Opens a session; its transaction identifier.
    std::string initiate(const std::string& token) {
        auto reply = post("/api/v1/transactions/initiate",
                          {{"ipV6Address", "fe80::1"}, {"ipV4Address", "10.0.0.7"}, {"customerName", "Corner Shop"},
                           {"deviceId", "device-1"}},
                          bearer(token));
        if (!reply.body.contains("data") || !reply.body["data"].is_object()) return {};
        return reply.body["data"].value("transactionId", "");
    }

    Json sessionDetail(const std::string& id) { return send("GET", "/admin/sessions/" + id).body; }

private:
    TempDir directory_;
    fs::path dataDirectory_;
    std::unique_ptr<ServiceProcess> process_;
};

// Most tests share one service; each starts with no faults.
class QuarraServiceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        service_ = new Service({"--account", "demo:demo-secret", "--account", "alice:pa:ss"});
        ASSERT_TRUE(service_->process().started()) << service_->process().errorOutput();
    }
    static void TearDownTestSuite() {
        // A clean exit also says a sanitizer found nothing in the server.
        EXPECT_EQ(service_->process().stop(SIGTERM), 0) << service_->process().errorOutput();
        delete service_;
        service_ = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(service_->process().started());
        service().send("DELETE", "/admin/faults");
    }

    Service& service() { return *service_; }

    void addFault(const Json& fault) {
        auto reply = service().post("/admin/faults", fault);
        ASSERT_EQ(reply.status, 201) << reply.body.dump();
    }

    // The two keys of an error reply from the platform paths.
    static void expectErrorModel(const Reply& reply, int status) {
        EXPECT_EQ(reply.status, status) << reply.body.dump();
        ASSERT_TRUE(reply.body.is_object()) << reply.body.dump();
        EXPECT_TRUE(reply.body.contains("errorCode") && reply.body["errorCode"].is_string()) << reply.body.dump();
        EXPECT_TRUE(reply.body.contains("errorMessage") && reply.body["errorMessage"].is_string()) << reply.body.dump();
    }

    static Service* service_;
};

Service* QuarraServiceTest::service_ = nullptr;

Json transactionEvent() {
    return {{"productCode", "SKU-1"},      {"productType", "Book"},
            {"uniqueCartId", "cart-1"},    {"productDescription", "A book"},
            {"isGiftCard", false},         {"quantity", 2},
            {"amount", {{"amount", 12.5}, {"currencyCode", "USD"}}},
            {"eventType", "AddToCart"},    {"discount", {{"amount", 0.0}, {"currencyCode", "USD"}}}};
}

Json address() {
    Json out;
    for (const char* key : {"firstName", "lastName", "addressLine1", "addressLine2", "unitNumber", "buildingNumber",
                            "streetOrBlock", "neighborhood", "city", "regionCode", "postalCode", "countryCode"}) {
        out[key] = "x";
    }
    return out;
}

Json card(const std::optional<Json>& responseCodes) {
    Json out{{"binNumber", "411111"}, {"lastFour", "1111"}, {"paymentId", "p-1"}, {"gateway", "gw"},
             {"billingAddress", address()}, {"amount", {{"amount", 10.0}, {"currencyCode", "USD"}}}};
    if (responseCodes) out["responseCodes"] = *responseCodes;
    return out;
}

Json evaluation(const std::string& orderNumber, double total, Json creditCards,
                const std::string& step = "OneStepPostAuth") {
    return {{"customData", Json::array()},
            {"uniqueCartId", "cart-1"},
            {"orderNumber", orderNumber},
            {"customerOrderStatus", "Placed"},
            {"transactionEvaluationStep", step},
            {"totalAmount", {{"amount", total}, {"currencyCode", "USD"}}},
            {"totalDiscounts", {{"amount", 0.0}, {"currencyCode", "USD"}}},
            {"payments", {{"creditCards", std::move(creditCards)}, {"payPal", Json::array()}}},
            {"shipping", Json::array()}};
}

Json approvedCodes() {
    return {{"addressVerification", "Y"}, {"authorization", "00"}, {"cardVerificationValue", "M"}};
}

// ---------------------------------------------------------------- token call

TEST_F(QuarraServiceTest, TokenCallChecksTheBasicCredential) {
    struct Case {
        const char* name;
        httplib::Headers headers;
        int status;
    };
    const std::vector<Case> cases{
        {"known account", {{"Authorization", basic("demo", "demo-secret")}}, 200},
        {"secret holding a colon", {{"Authorization", basic("alice", "pa:ss")}}, 200},
        {"wrong secret", {{"Authorization", basic("demo", "nope")}}, 401},
        {"unknown user", {{"Authorization", basic("mallory", "demo-secret")}}, 401},
        {"empty secret", {{"Authorization", basic("demo", "")}}, 401},
        {"no header", {}, 401},
        {"bearer instead of basic", {{"Authorization", "Bearer abc"}}, 401},
        {"not base64", {{"Authorization", "Basic %%%"}}, 401},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto reply = service().post("/api/accessToken", Json::object(), c.headers);
        if (c.status == 200) {
            ASSERT_EQ(reply.status, 200) << reply.body.dump();
            // Every key a string, "expiresIn" included: that is what clients decode.
            for (const char* key : {"accessToken", "refreshToken", "tokenType", "expiresIn", "message"}) {
                EXPECT_TRUE(reply.body.contains(key) && reply.body[key].is_string()) << key;
            }
            EXPECT_FALSE(reply.body["accessToken"].get<std::string>().empty());
        } else {
            expectErrorModel(reply, c.status);
        }
    }
}

TEST_F(QuarraServiceTest, EveryGrantIsAFreshToken) {
    EXPECT_NE(service().accessToken(), service().accessToken());
}

// ------------------------------------------- the library's own decoders

TEST_F(QuarraServiceTest, EveryReplyDecodesWithTheLibrarysDecoders) {
    auto grant = service().post("/api/accessToken", Json::object(), {{"Authorization", basic("demo", "demo-secret")}});
    auto token = GetAccessTokenResponse::decode(grant.raw);
    ASSERT_TRUE(token) << grant.raw;
    auto auth = service().bearer(token->accessToken);

    auto initiated = service().post("/api/v1/transactions/initiate", Json::object(), auth);
    auto document = InitiateTransactionsResponse::decode(initiated.raw);
    ASSERT_TRUE(document) << initiated.raw;
    ASSERT_TRUE(document->data.transactionId);
    const std::string session = *document->data.transactionId;
    EXPECT_EQ(document->data.configuration.dataCollector.flags.logLevel, 2);
    EXPECT_EQ(document->data.configuration.dataCollector.featureDetails.size(), 7u);

    auto logged = service().post("/certification/v1/InsertLogData/", {{"LogData", "{}"}, {"SessionKey", session}});
    auto logAnswer = InsertLogDataResponse::fromJSON(logged.body);
    ASSERT_TRUE(logAnswer) << logged.raw;
    EXPECT_EQ(logAnswer->responseCode, "0");

    auto event = service().send("PUT", "/api/v1/transactions/" + session, transactionEvent().dump(), auth);
    auto eventReply = InitiateTransactionResponse::decode(event.raw);
    ASSERT_TRUE(eventReply) << event.raw;
    EXPECT_EQ(eventReply->data.transactionID, session);

    auto evaluated = service().post("/api/v1/transactions/evaluate/" + session,
                                    evaluation("decoded", 10, Json::array({card(approvedCodes())})), auth);
    auto completion = CompleteTransactionResponse::decode(evaluated.raw);
    ASSERT_TRUE(completion && completion->data) << evaluated.raw;
    EXPECT_EQ(completion->data->evaluationDecision, "Guaranteeable");
    EXPECT_TRUE(completion->data->scoreInsights && !completion->data->scoreInsights->empty());

    auto cancelled = service().send("PATCH", "/api/v1/transactions/transactionStatus",
                                    Json{{"paymentStatus", "Void"}, {"orderNumber", "decoded"}, {"transactionId", session},
                                         {"orderStatus", ""}, {"comments", ""}}
                                        .dump(),
                                    auth);
    auto cancellation = CancelTransactionResponse::decode(cancelled.raw);
    ASSERT_TRUE(cancellation) << cancelled.raw;
    EXPECT_EQ(cancellation->data.transactionStatus, "Cancelled");

    // An unknown identifier is not a cancellation reply but an ErrorModel.
    auto unknown = service().send("PUT", "/api/v1/transactions/no-such-id", transactionEvent().dump(), auth);
    EXPECT_FALSE(InitiateTransactionResponse::decode(unknown.raw));
    EXPECT_TRUE(ErrorModel::decode(unknown.raw)) << unknown.raw;
}

// ------------------------------------------------------------- initiate call

TEST_F(QuarraServiceTest, InitiateAnswersAConfigurationDocumentClientsDecode) {
    auto reply = service().post("/api/v1/transactions/initiate",
                                {{"ipV6Address", ""}, {"ipV4Address", "10.0.0.7"}, {"customerName", "Corner Shop"},
                                 {"deviceId", "device-1"}},
                                service().bearer(service().accessToken()));
    ASSERT_EQ(reply.status, 200) << reply.body.dump();
    const auto& data = reply.body["data"];
    ASSERT_TRUE(data["transactionId"].is_string());
    EXPECT_FALSE(data["transactionId"].get<std::string>().empty());
    EXPECT_EQ(data["customerName"], "Corner Shop");

    const auto& collector = data["configuration"]["dataCollector"];
    const auto& flags = collector["flags"];
    EXPECT_TRUE(flags["visitorIDExpired"].is_boolean());
    EXPECT_TRUE(flags["flushStoredData"].is_boolean());
    EXPECT_TRUE(flags["logLevel"].is_number_integer());
    EXPECT_TRUE(flags["fppenabled"].is_boolean());
    EXPECT_TRUE(flags["fpjsapiToken"].is_string());

    const std::string url = service().process().url();
    EXPECT_EQ(collector["baseEndPoints"]["baseDcUrl"], url + "/api/data/collect/");
    EXPECT_EQ(collector["baseEndPoints"]["baseLoggingUrl"], url + "/certification/v1/InsertLogData/");

    std::set<std::string> names;
    for (const auto& feature : collector["featureDetails"]) {
        ASSERT_TRUE(feature["apiName"].is_string());
        names.insert(feature["apiName"].get<std::string>());
        EXPECT_EQ(feature["enabled"], true) << feature.dump();
        for (const char* key : {"retryCount", "connectionTimeout", "retryInterval", "writeTimeout", "readTimeout"}) {
            EXPECT_TRUE(feature[key].is_number_integer()) << key;
        }
    }
    EXPECT_EQ(names, (std::set<std::string>{"userData", "userLocation", "userEvents", "activityStream",
                                            "accelerometerData", "fingerprintPro", "InsertLogData"}));
}

TEST_F(QuarraServiceTest, EveryInitiateOpensANewSession) {
    auto token = service().accessToken();
    auto first = service().initiate(token);
    auto second = service().initiate(token);
    EXPECT_FALSE(first.empty());
    EXPECT_NE(first, second);
    EXPECT_EQ(service().sessionDetail(first)["session"]["deviceId"], "device-1");
}

TEST_F(QuarraServiceTest, InitiateWithoutAValidBearerIsRefused) {
    struct Case {
        const char* name;
        httplib::Headers headers;
    };
    const std::vector<Case> cases{
        {"no header", {}},
        {"unknown token", {{"Authorization", "Bearer 0123"}}},
        {"empty token", {{"Authorization", "Bearer "}}},
        {"basic credential", {{"Authorization", basic("demo", "demo-secret")}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expectErrorModel(service().post("/api/v1/transactions/initiate", Json::object(), c.headers), 401);
    }
}

// ----------------------------------------------------------------- collector

TEST_F(QuarraServiceTest, CollectorAcceptsWellFormedEnvelopesAndStoresThem) {
    auto session = service().initiate(service().accessToken());
    struct Case {
        const char* path;
        const char* key;
        Json report;
    };
    const std::vector<Case> cases{
        {"/api/data/collect/userData", "userData", {{"appName", "Demo"}}},
        {"/api/data/collect/userEvents", "events", Json::array({{{"event", "LoginAttempt"}}})},
        {"/api/data/collect/activityStream", "activityStream",
         Json::array({{{"url", "https://example.test/"}, {"activityStream", Json::array({{{"a", "b"}}})}}})},
        {"/api/data/collect/", "userLocation", {{"city", "Pune"}}},
        {"/certification/v1/fingerprintPro", "fingerprintPro", {{"visitorID", "v"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        auto reply = service().post(c.path, {{c.key, c.report}, {"sessionId", session}, {"clientName", "shop.example"}});
        ASSERT_EQ(reply.status, 200);
        EXPECT_EQ(reply.body["ResponseCode"], "0") << reply.body.dump();
        EXPECT_TRUE(reply.body["ResponseText"].is_string());
    }

    auto reports = service().sessionDetail(session)["reports"];
    ASSERT_EQ(reports.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        std::string path = cases[i].path;
        EXPECT_EQ(reports[i]["apiName"], path.substr(path.rfind('/') + 1));
        EXPECT_EQ(reports[i]["reportKey"], cases[i].key);
        EXPECT_EQ(reports[i]["envelope"][cases[i].key], cases[i].report);
    }
}

// A report sent again under its idempotency key is answered as accepted and
// stored once; without a key every copy is stored.
TEST_F(QuarraServiceTest, ARepeatUnderTheSameKeyIsAcceptedAndStoredOnce) {
    auto session = service().initiate(service().accessToken());
    const Json envelope = {{"events", Json::array({{{"event", "tap"}}})}, {"sessionId", session}, {"clientName", "c"}};
    struct Case {
        const char* key;
        const char* text;
    };
    const Case sends[] = {{"k-1", "Report saved"}, {"k-1", "Report already saved"}, {"k-1", "Report already saved"},
                          {"k-2", "Report saved"}, {"", "Report saved"},             {"", "Report saved"}};
    for (const auto& send : sends) {
        httplib::Headers headers;
        if (*send.key) headers.emplace("Idempotency-Key", send.key);
        auto reply = service().post("/api/data/collect/userEvents", envelope, headers);
        EXPECT_EQ(reply.body["ResponseCode"], "0");
        EXPECT_EQ(reply.body["ResponseText"], send.text) << send.key;
    }
    auto detail = service().sessionDetail(session);
    ASSERT_EQ(detail["reports"].size(), 4u);
    EXPECT_EQ(detail["reports"][0]["idempotencyKey"], "k-1");
    EXPECT_EQ(detail["reports"][0]["repeats"], 2);
    EXPECT_EQ(detail["repeatsAbsorbed"], 2);
    auto overview = service().send("GET", "/admin/sessions").body;
    EXPECT_EQ(overview["sessions"].back()["repeatsAbsorbed"], 2);
}

TEST_F(QuarraServiceTest, CollectorRefusesBadEnvelopesWithAReason) {
    auto session = service().initiate(service().accessToken());
    struct Case {
        const char* name;
        Json envelope;
        const char* code;
    };
    const Json report{{"a", "b"}};
    const std::vector<Case> cases{
        {"unknown session", {{"userData", report}, {"sessionId", "no-such-session"}, {"clientName", "c"}}, "3"},
        {"empty session", {{"userData", report}, {"sessionId", ""}, {"clientName", "c"}}, "3"},
        {"no session", {{"userData", report}, {"clientName", "c"}}, "2"},
        {"session not text", {{"userData", report}, {"sessionId", 7}, {"clientName", "c"}}, "2"},
        {"no client name", {{"userData", report}, {"sessionId", session}}, "2"},
        {"empty client name", {{"userData", report}, {"sessionId", session}, {"clientName", ""}}, "2"},
        {"no report", {{"sessionId", session}, {"clientName", "c"}}, "2"},
        {"two reports",
         {{"userData", report}, {"userLocation", report}, {"sessionId", session}, {"clientName", "c"}},
         "2"},
        {"unknown report key", {{"surprise", report}, {"sessionId", session}, {"clientName", "c"}}, "2"},
        {"events not an array", {{"events", report}, {"sessionId", session}, {"clientName", "c"}}, "2"},
        {"user data not an object", {{"userData", "text"}, {"sessionId", session}, {"clientName", "c"}}, "2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto reply = service().post("/api/data/collect/userData", c.envelope);
        EXPECT_EQ(reply.status, 200);
        EXPECT_EQ(reply.body["ResponseCode"], c.code) << reply.body.dump();
        ASSERT_TRUE(reply.body["ResponseText"].is_string());
        EXPECT_FALSE(reply.body["ResponseText"].get<std::string>().empty());
    }
    EXPECT_TRUE(service().sessionDetail(session)["reports"].empty());
}

// -------------------------------------------------------------- log endpoint

TEST_F(QuarraServiceTest, LogEndpointStoresTheRecord) {
    auto session = service().initiate(service().accessToken());
    Json record{{"logLevel", 2}, {"apiName", "userData"}, {"logDescription", "sent"}};
    auto reply = service().post("/certification/v1/InsertLogData/", {{"LogData", record.dump()}, {"SessionKey", session}});
    ASSERT_EQ(reply.status, 200);
    EXPECT_EQ(reply.body["ResponseCode"], "0");
    EXPECT_TRUE(reply.body["ResponseText"].is_string());

    auto stored = service().sessionDetail(session)["logRecords"];
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]["logData"], record);

    // Records from before a session exists travel with an empty key and are kept.
    reply = service().post("/certification/v1/InsertLogData/", {{"LogData", "early"}, {"SessionKey", ""}});
    EXPECT_EQ(reply.body["ResponseCode"], "0");
    bool found = false;
    auto logs = service().send("GET", "/admin/logs").body;
    for (const auto& r : logs["logRecords"]) found |= r["logData"] == "early";
    EXPECT_TRUE(found);
}

TEST_F(QuarraServiceTest, LogEndpointRefusesRecordsWithoutTheirTexts) {
    for (const auto& body : {Json{{"SessionKey", "s"}}, Json{{"LogData", "x"}}, Json{{"LogData", 1}, {"SessionKey", "s"}}}) {
        SCOPED_TRACE(body.dump());
        auto reply = service().post("/certification/v1/InsertLogData/", body);
        EXPECT_EQ(reply.status, 200);
        EXPECT_EQ(reply.body["ResponseCode"], "2");
    }
}

// -------------------------------------------------------------- transactions

TEST_F(QuarraServiceTest, TransactionFlowIsKeptPerSession) {
    auto token = service().accessToken();
    auto session = service().initiate(token);
    auto auth = service().bearer(token);

    auto event = service().send("PUT", "/api/v1/transactions/" + session, transactionEvent().dump(), auth);
    ASSERT_EQ(event.status, 200) << event.body.dump();
    EXPECT_TRUE(event.body["apiVersion"].is_string());
    EXPECT_TRUE(event.body["time"].is_string());
    EXPECT_EQ(event.body["data"]["transactionId"], session);

    auto preAuth = service().post("/api/v1/transactions/evaluate/" + session,
                                  evaluation("order-1", 250, Json::array({card(std::nullopt)}), "PreAuth"), auth);
    ASSERT_EQ(preAuth.status, 200) << preAuth.body.dump();
    EXPECT_EQ(preAuth.body["data"]["evaluationDecision"], "Guaranteeable");
    EXPECT_EQ(preAuth.body["data"]["isGuaranteeable"], "true");
    EXPECT_TRUE(preAuth.body["data"]["score"].is_number_integer());
    EXPECT_EQ(preAuth.body["data"]["transactionId"], session);
    for (const auto& insight : preAuth.body["data"]["scoreInsights"]) EXPECT_TRUE(insight["description"].is_string());

    auto postAuth = service().post("/api/v1/transactions/evaluate/" + session,
                                   evaluation("order-1", 250, Json::array({card(approvedCodes())}), "PostAuth"), auth);
    EXPECT_EQ(postAuth.body["data"]["evaluationDecision"], "Guaranteeable");

    auto cancel = service().send("PATCH", "/api/v1/transactions/transactionStatus",
                                 Json{{"paymentStatus", "Refunded"},
                                      {"orderNumber", "order-1"},
                                      {"transactionId", session},
                                      {"orderStatus", "Cancelled"},
                                      {"comments", "customer changed their mind"}}
                                     .dump(),
                                 auth);
    ASSERT_EQ(cancel.status, 200) << cancel.body.dump();
    EXPECT_TRUE(cancel.body["apiVersion"].is_string());
    EXPECT_TRUE(cancel.body["time"].is_string());
    EXPECT_EQ(cancel.body["data"]["transactionStatus"], "Cancelled");

    auto detail = service().sessionDetail(session);
    ASSERT_EQ(detail["transactionEvents"].size(), 1u);
    EXPECT_EQ(detail["transactionEvents"][0]["eventType"], "AddToCart");
    ASSERT_EQ(detail["transactions"].size(), 1u);  // the second evaluation replaced the first
    EXPECT_EQ(detail["transactions"][0]["evaluationStep"], "PostAuth");
    EXPECT_EQ(detail["transactions"][0]["status"], "Cancelled");
    EXPECT_EQ(detail["transactions"][0]["paymentStatus"], "Refunded");
}

TEST_F(QuarraServiceTest, EvaluationFollowsTheDocumentedRule) {
    auto token = service().accessToken();
    auto session = service().initiate(token);
    struct Case {
        const char* name;
        double total;
        Json cards;
        int score;
        const char* decision;
    };
    const Json declined{{"addressVerification", "Y"}, {"authorization", "05"}, {"cardVerificationValue", "M"}};
    const Json checksFailed{{"addressVerification", "N"}, {"authorization", "approved"}, {"cardVerificationValue", "n"}};
    const std::vector<Case> cases{
        {"small approved order", 250, Json::array({card(approvedCodes())}), 10, "Guaranteeable"},
        {"just under a thousand", 999.99, Json::array({card(approvedCodes())}), 45, "Guaranteeable"},
        {"a thousand or more", 1000, Json::array({card(approvedCodes())}), 50, "NotGuaranteeable"},
        {"huge total is capped", 1e300, Json::array({card(approvedCodes())}), 50, "NotGuaranteeable"},
        {"declined authorization", 20, Json::array({card(declined)}), 50, "NotGuaranteeable"},
        {"failed address and card checks", 20, Json::array({card(checksFailed)}), 30, "Guaranteeable"},
        {"no payment at all", 20, Json::array(), 30, "Guaranteeable"},
        {"everything wrong", 5000, Json::array({card(declined), card(checksFailed)}), 100, "NotGuaranteeable"},
    };
    int order = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto reply = service().post("/api/v1/transactions/evaluate/" + session,
                                    evaluation("rule-" + std::to_string(order++), c.total, c.cards),
                                    service().bearer(token));
        ASSERT_EQ(reply.status, 200) << reply.body.dump();
        EXPECT_EQ(reply.body["data"]["score"], c.score);
        EXPECT_EQ(reply.body["data"]["evaluationDecision"], c.decision);
        EXPECT_EQ(reply.body["data"]["isGuaranteeable"], std::string(c.decision) == "Guaranteeable" ? "true" : "false");
    }
}

TEST_F(QuarraServiceTest, UnknownIdentifiersGetAnErrorModel) {
    auto token = service().accessToken();
    auto session = service().initiate(token);
    auto otherAccountsSession = service().initiate(service().accessToken("alice", "pa:ss"));
    auto auth = service().bearer(token);
    auto cancellation = [](const std::string& id, const std::string& order) {
        return Json{{"paymentStatus", "Void"}, {"orderNumber", order}, {"transactionId", id},
                    {"orderStatus", "Cancelled"}, {"comments", ""}}
            .dump();
    };
    struct Case {
        const char* name;
        const char* method;
        std::string path;
        std::string body;
    };
    const std::vector<Case> cases{
        {"event, unknown id", "PUT", "/api/v1/transactions/no-such-id", transactionEvent().dump()},
        {"event, no id at all", "PUT", "/api/v1/transactions/", transactionEvent().dump()},
        {"event, another account's session", "PUT", "/api/v1/transactions/" + otherAccountsSession,
         transactionEvent().dump()},
        {"evaluation, unknown id", "POST", "/api/v1/transactions/evaluate/no-such-id",
         evaluation("o", 1, Json::array()).dump()},
        {"cancellation, unknown id", "PATCH", "/api/v1/transactions/transactionStatus",
         cancellation("no-such-id", "o")},
        {"cancellation, unknown order", "PATCH", "/api/v1/transactions/transactionStatus",
         cancellation(session, "never-evaluated")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expectErrorModel(service().send(c.method, c.path, c.body, auth), 404);
    }
}

TEST_F(QuarraServiceTest, MalformedTransactionDocumentsAreRefused) {
    auto token = service().accessToken();
    auto session = service().initiate(token);
    auto withoutKey = [](Json document, const char* key) {
        document.erase(key);
        return document;
    };
    auto badStep = evaluation("o", 1, Json::array());
    badStep["transactionEvaluationStep"] = "Later";
    auto negative = evaluation("o", -5, Json::array());
    auto giftCardAsText = transactionEvent();
    giftCardAsText["isGiftCard"] = "no";
    struct Case {
        const char* name;
        const char* method;
        std::string path;
        Json body;
    };
    const std::vector<Case> cases{
        {"event without cart", "PUT", "/api/v1/transactions/" + session, withoutKey(transactionEvent(), "uniqueCartId")},
        {"event gift card as text", "PUT", "/api/v1/transactions/" + session, giftCardAsText},
        {"evaluation with unknown step", "POST", "/api/v1/transactions/evaluate/" + session, badStep},
        {"evaluation with negative total", "POST", "/api/v1/transactions/evaluate/" + session, negative},
        {"evaluation without payments", "POST", "/api/v1/transactions/evaluate/" + session,
         withoutKey(evaluation("o", 1, Json::array()), "payments")},
        {"cancellation without comments", "PATCH", "/api/v1/transactions/transactionStatus",
         Json{{"paymentStatus", ""}, {"orderNumber", ""}, {"transactionId", session}, {"orderStatus", ""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expectErrorModel(service().send(c.method, c.path, c.body.dump(), service().bearer(token)), 400);
    }
    expectErrorModel(service().send("PUT", "/api/v1/transactions/" + session, transactionEvent().dump()), 401);
}

// -------------------------------------------------------------------- admin

TEST_F(QuarraServiceTest, AdminListsSessionsWithTheirCounts) {
    auto session = service().initiate(service().accessToken());
    service().post("/api/data/collect/userData", {{"userData", Json::object()}, {"sessionId", session}, {"clientName", "c"}});

    Json listed;
    auto overview = service().send("GET", "/admin/sessions").body;
    for (const auto& s : overview["sessions"]) {
        if (s["id"] == session) listed = s;
    }
    ASSERT_TRUE(listed.is_object());
    EXPECT_EQ(listed["account"], "demo");
    EXPECT_EQ(listed["customerName"], "Corner Shop");
    EXPECT_EQ(listed["reportCount"], 1);

    expectErrorModel(service().send("GET", "/admin/sessions/no-such-session"), 404);
}

// ------------------------------------------------------------------- faults

TEST_F(QuarraServiceTest, FaultAnswersWithTheChosenCodeThenWearsOff) {
    auto session = service().initiate(service().accessToken());
    Json envelope{{"userData", Json::object()}, {"sessionId", session}, {"clientName", "c"}};
    addFault({{"path", "/api/data/collect/"}, {"responseCode", "7"}, {"count", 2}});

    for (int i = 0; i < 2; ++i) {
        auto faulted = service().post("/api/data/collect/userData", envelope);
        EXPECT_EQ(faulted.status, 200);
        EXPECT_EQ(faulted.body["ResponseCode"], "7");
    }
    EXPECT_EQ(service().post("/api/data/collect/userData", envelope).body["ResponseCode"], "0");
    EXPECT_EQ(service().sessionDetail(session)["reports"].size(), 1u);  // faulted reports are not stored
}

TEST_F(QuarraServiceTest, FaultAnswersWithTheChosenStatusOnlyUnderItsPath) {
    addFault({{"path", "/api/accessToken"}, {"httpStatus", 503}});
    auto session = service().initiate(service().accessToken("alice", "pa:ss") /* takes the fault */);
    EXPECT_TRUE(session.empty());

    addFault({{"path", "/api/accessToken"}, {"httpStatus", 503}, {"responseCode", "BUSY"}});
    auto elsewhere = service().post("/certification/v1/InsertLogData/", {{"LogData", "x"}, {"SessionKey", ""}});
    EXPECT_EQ(elsewhere.body["ResponseCode"], "0");
    auto faulted = service().post("/api/accessToken", Json::object(), {{"Authorization", basic("demo", "demo-secret")}});
    expectErrorModel(faulted, 503);
    EXPECT_EQ(faulted.body["errorCode"], "BUSY");
    EXPECT_FALSE(service().accessToken().empty());
}

TEST_F(QuarraServiceTest, DropFaultClosesTheConnectionWithoutAnAnswer) {
    addFault({{"path", "/api/accessToken"}, {"drop", true}});
    auto dropped = service().post("/api/accessToken", Json::object(), {{"Authorization", basic("demo", "demo-secret")}});
    EXPECT_FALSE(dropped.delivered);
    EXPECT_FALSE(service().accessToken().empty());
}

TEST_F(QuarraServiceTest, DelayFaultStillAnswersNormally) {
    addFault({{"path", "/api/accessToken"}, {"delayMs", 50}});
    EXPECT_FALSE(service().accessToken().empty());
    EXPECT_TRUE(service().send("GET", "/admin/faults").body["faults"].empty());
}

TEST_F(QuarraServiceTest, AdminPathsAreNeverFaultedAndDeleteClearsFaults) {
    addFault({{"path", "/"}, {"httpStatus", 500}, {"count", 5}});
    addFault({{"path", "/api/"}, {"drop", true}});
    auto listed = service().send("GET", "/admin/faults");
    EXPECT_EQ(listed.status, 200);
    EXPECT_EQ(listed.body["faults"].size(), 2u);
    auto cleared = service().send("DELETE", "/admin/faults");
    EXPECT_EQ(cleared.body["cleared"], 2);
    EXPECT_FALSE(service().accessToken().empty());
}

TEST_F(QuarraServiceTest, MalformedFaultsAreRefused) {
    const std::vector<Json> faults{
        {{"responseCode", "7"}},
        {{"path", "no-slash"}, {"responseCode", "7"}},
        {{"path", "/"}},
        {{"path", "/"}, {"httpStatus", 99}},
        {{"path", "/"}, {"httpStatus", "500"}},
        {{"path", "/"}, {"delayMs", -1}},
        {{"path", "/"}, {"drop", true}, {"count", 0}},
        {{"path", "/"}, {"drop", true}, {"surprise", 1}},
    };
    for (const auto& fault : faults) {
        SCOPED_TRACE(fault.dump());
        expectErrorModel(service().post("/admin/faults", fault), 400);
    }
    EXPECT_TRUE(service().send("GET", "/admin/faults").body["faults"].empty());
}

// ------------------------------------------------------- malformed requests

TEST_F(QuarraServiceTest, MalformedRequestsGetAJsonClientErrorAndTheServiceStaysUp) {
    std::string deep(200, '[');
    deep += std::string(200, ']');
    struct Case {
        const char* name;
        const char* method;
        const char* path;
        std::string body;
        const char* contentType;
        int status;
    };
    const std::vector<Case> cases{
        {"not JSON", "POST", "/api/data/collect/userData", "{\"userData\":", "application/json", 400},
        {"JSON but not an object", "POST", "/api/data/collect/userData", "[1,2]", "application/json", 400},
        {"nested too deeply", "POST", "/api/data/collect/userData", deep, "application/json", 400},
        {"invalid UTF-8", "POST", "/api/data/collect/userData", "{\"a\":\"\xff\"}", "application/json", 400},
        {"wrong content type", "POST", "/api/data/collect/userData", "{}", "text/plain", 415},
        {"no content type", "POST", "/certification/v1/InsertLogData/", "{}", "", 415},
        {"wrong method", "GET", "/api/accessToken", "", "", 405},
        {"unknown path", "POST", "/api/v2/everything", "{}", "application/json", 404},
        {"too large", "POST", "/api/data/collect/userData", std::string(2 * 1024 * 1024, ' '), "application/json", 413},
        {"unsupported method", "UPDATE", "/api/data/collect/userData", "{}", "application/json", 400},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto reply = service().send(c.method, c.path, c.body, {}, c.contentType);
        ASSERT_TRUE(reply.delivered);
        EXPECT_EQ(reply.status, c.status);
        EXPECT_TRUE(reply.body.is_object()) << "the error must come as a JSON object";
    }
    auto wrongMethod = service().send("DELETE", "/api/v1/transactions/evaluate/some-id");
    EXPECT_EQ(wrongMethod.status, 405);
    ASSERT_EQ(wrongMethod.headers.count("Allow"), 1u);
    EXPECT_EQ(wrongMethod.headers.find("Allow")->second, "POST");
    EXPECT_FALSE(service().accessToken().empty());
}

// --------------------------------------------------- process and certificates

TEST(QuarraServiceProcessTest, CertificateServesBothNamesAndIsReusedWithTheStore) {
    TempDir dataDirectory;
    std::string firstCa, session;
    {
        Service service({}, &dataDirectory.path());
        ASSERT_TRUE(service.process().started()) << service.process().errorOutput();
        EXPECT_EQ(fs::path(service.process().caFile()), dataDirectory.path() / "ca.pem");
        // The demo account is there when none is given.
        session = service.initiate(service.accessToken("demo", "demo-secret"));
        ASSERT_FALSE(session.empty());
        // A client that checks the name accepts the server both as 127.0.0.1 and as localhost.
        EXPECT_EQ(service.send("GET", "/admin/sessions", "", {}, "", "localhost").status, 200);
        std::ifstream in(service.process().caFile());
        firstCa.assign(std::istreambuf_iterator<char>(in), {});
        EXPECT_EQ(service.process().stop(SIGINT), 0);
    }
    Service restarted({}, &dataDirectory.path());
    ASSERT_TRUE(restarted.process().started()) << restarted.process().errorOutput();
    std::ifstream in(restarted.process().caFile());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), firstCa);
    EXPECT_EQ(restarted.sessionDetail(session)["session"]["id"], session);
}

TEST(QuarraServiceProcessTest, ConfigFileShapesTheDocument) {
    TempDir directory;
    auto config = directory.path() / "config.json";
    std::ofstream(config) << R"({"flags": {"logLevel": 0, "fppenabled": false, "fpjsapiToken": "key-1",
                                            "visitorIDExpired": true},
                                 "features": {"accelerometerData": false, "InsertUserData": true},
                                 "tokenLifetimeSeconds": 60, "guaranteeThreshold": 5})";
    Service service({"--config", config.string(), "--account", "shop:s3cret"});
    ASSERT_TRUE(service.process().started()) << service.process().errorOutput();

    auto grant = service.post("/api/accessToken", Json::object(), {{"Authorization", basic("shop", "s3cret")}});
    EXPECT_EQ(grant.body["expiresIn"], "60");
    auto token = grant.body.value("accessToken", "");
    auto document = service.post("/api/v1/transactions/initiate", Json::object(), service.bearer(token)).body;
    ASSERT_TRUE(document.contains("data")) << document.dump();
    const auto& collector = document["data"]["configuration"]["dataCollector"];
    EXPECT_EQ(collector["flags"],
              (Json{{"visitorIDExpired", true}, {"flushStoredData", false}, {"logLevel", 0}, {"fppenabled", false},
                    {"fpjsapiToken", "key-1"}}));
    std::map<std::string, bool> enabled;
    for (const auto& f : collector["featureDetails"]) enabled[f["apiName"]] = f["enabled"];
    EXPECT_FALSE(enabled.at("accelerometerData"));
    EXPECT_TRUE(enabled.at("userEvents"));
    EXPECT_TRUE(enabled.at("InsertUserData"));

    auto session = document["data"].value("transactionId", "");
    auto evaluated = service.post("/api/v1/transactions/evaluate/" + session,
                                  evaluation("o", 100, Json::array({card(approvedCodes())})), service.bearer(token));
    EXPECT_EQ(evaluated.body["data"]["evaluationDecision"], "NotGuaranteeable");  // 5 is not below 5
}

TEST(QuarraServiceProcessTest, BadStartsEndWithAMessage) {
    TempDir directory;
    auto badConfig = directory.path() / "bad.json";
    std::ofstream(badConfig) << R"({"flags": {"logLevel": 2.5}})";
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        int exitCode;
    };
    const std::vector<Case> cases{
        {"unknown argument", {"--frobnicate"}, 2},
        {"account without secret", {"--account", "demo"}, 2},
        {"port out of range", {"--port", "70000"}, 2},
        {"settings of the wrong type", {"--config", badConfig.string()}, 2},
        {"missing settings file", {"--config", (directory.path() / "absent.json").string()}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Service service(c.arguments);
        EXPECT_FALSE(service.process().started());
        EXPECT_EQ(service.process().waitForExit(), c.exitCode);
        EXPECT_THAT(service.process().errorOutput(), ::testing::HasSubstr("quarra-service: "));
    }
}

// A second service on a port another one listens on is refused, not let in
// to share it (two services with different certificates and tokens).
TEST(QuarraServiceProcessTest, APortInUseIsRefusedWithItsOwnExitCode) {
    Service first;
    ASSERT_TRUE(first.process().started()) << first.process().errorOutput();
    const auto port = std::to_string(first.process().port());
    Service second({"--port", port});
    EXPECT_FALSE(second.process().started());
    EXPECT_EQ(second.process().waitForExit(), 3);
    EXPECT_THAT(second.process().errorOutput(), ::testing::HasSubstr("port " + port + " on 127.0.0.1 is in use"));
    // The first one still answers, and is the only one.
    EXPECT_EQ(first.send("GET", "/admin/sessions").status, 200);
}

// --version and --help answer without starting anything.
TEST(QuarraServiceProcessTest, VersionAndHelpDescribeTheTool) {
    struct Case {
        const char* argument;
        std::vector<std::string> mentions;
    };
    const Case cases[] = {
        {"--version", {"quarra-service 0."}},
        {"--help", {"--port", "--data-dir", "--account", "--config", "--quiet", "--version", "the port is in use"}},
    };
    TempDir directory;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument);
        auto run = testing::runProgram(QUARRA_SERVICE_BINARY, {c.argument}, directory.path(), c.argument + 2);
        EXPECT_EQ(run.exitCode, 0) << run.errorOutput;
        std::string output;
        for (const auto& line : run.outputLines) output += line + "\n";
        for (const auto& text : c.mentions) EXPECT_THAT(output, ::testing::HasSubstr(text));
        EXPECT_FALSE(fs::exists(directory.path() / "quarra-service-data")) << "nothing started";
    }
}

TEST(QuarraServiceProcessTest, TermStopsCleanlyEvenWithADelayedRequestInFlight) {
    Service service;
    ASSERT_TRUE(service.process().started()) << service.process().errorOutput();
    ASSERT_EQ(service.post("/admin/faults", {{"path", "/api/accessToken"}, {"delayMs", 60000}}).status, 201);
    auto inFlight = std::async(std::launch::async, [&service] {
        return service.post("/api/accessToken", Json::object(), {{"Authorization", basic("demo", "demo-secret")}});
    });
    // Wait until the request holds the fault, so the stop meets it mid-delay.
    while (!service.send("GET", "/admin/faults").body["faults"].empty()) std::this_thread::yield();
    EXPECT_EQ(service.process().stop(SIGTERM), 0);
    auto reply = inFlight.get();
    EXPECT_NE(reply.status, 200);
}

}  // namespace
}  // namespace quarra::testing

#endif  // QUARRA_SERVICE_BINARY
