#include <gtest/gtest.h>

#include <sodium.h>

#include <fstream>
#include <functional>

#include "base/JsonText.hpp"
#include "support/SessionHarness.hpp"

namespace quarra {
namespace {

using testing::SessionHarness;

std::string decodeBase64(const std::string& text) {
    std::string out(text.size(), '\0');
    size_t length = 0;
    EXPECT_EQ(sodium_base642bin(reinterpret_cast<unsigned char*>(out.data()), out.size(), text.c_str(), text.size(),
                                nullptr, &length, nullptr, sodium_base64_VARIANT_ORIGINAL),
              0);
    out.resize(length);
    return out;
}

struct Keys {
    std::vector<std::string> values;
    SessionConfigServices::StringCompletion callback() {
        return [this](const std::string& key) { values.push_back(key); };
    }
};

TEST(BasicCredential, IsUserColonSecretInStandardBase64) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"alice", "s3cret"}, {"alice", "pa:ss:word"}, {"alice", ""}, {"ünïcode", "ключ/+="}};
    for (const auto& [user, secret] : cases) {
        auto credential = basicCredential(user, secret);
        EXPECT_EQ(credential.find('\n'), std::string::npos);
        EXPECT_EQ(credential.size() % 4, 0u) << "padded";
        EXPECT_EQ(decodeBase64(credential), user + ":" + secret);
    }
    EXPECT_EQ(basicCredential("Aladdin", "open sesame"), "QWxhZGRpbjpvcGVuIHNlc2FtZQ==");
}

TEST(AccessToken, SuccessStoresTokensAndInitiatesWithTheBearerToken) {
    SessionHarness h;
    h.http->enqueue(SimulatedHttpClient::ok(SessionHarness::tokenJSON("access-1", "refresh-1")));
    h.http->enqueue(SimulatedHttpClient::ok(SessionHarness::documentJSON("txn-42")));
    Keys keys;
    h.tokenService->requestAccessToken("alice", "pa:ss", "Acme", keys.callback());
    h.executor->runUntilIdle();

    auto requests = h.http->requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].url, h.baseUrls.platformApi + "accessToken");
    EXPECT_EQ(requests[0].header("Authorization").value(), "Basic " + basicCredential("alice", "pa:ss"));
    EXPECT_EQ(requests[0].body.value(), "{}");

    EXPECT_EQ(requests[1].url, h.baseUrls.platformTransactions + "initiate");
    EXPECT_EQ(requests[1].header("Authorization").value(), "Bearer access-1");
    EXPECT_EQ(requests[1].header("Content-Type").value(), "application/json");
    auto body = parseJSON(requests[1].body.value()).value();
    EXPECT_EQ(body, (JSONDictionary{{"ipV6Address", body["ipV4Address"]},
                                    {"ipV4Address", body["ipV6Address"]},
                                    {"customerName", "Acme"},
                                    {"deviceId", "6F1C0E9A-1B2C-4D3E-8F90-A1B2C3D4E5F6"}}));

    EXPECT_EQ(keys.values, std::vector<std::string>{"txn-42"});
    EXPECT_EQ(h.keychain.string("accessToken"), "access-1");
    EXPECT_EQ(h.keychain.string("refreshToken"), "refresh-1");
    EXPECT_EQ(h.keychain.string("transactionId"), "txn-42");
    EXPECT_EQ(h.config.sessionKey(), "txn-42");
    EXPECT_EQ(h.requests.baseUrl(), "https://collector.test/api/data/collect/");
    EXPECT_EQ(h.requests.logBaseUrl(), "https://logs.test/InsertLogData/");
    // The fresh document is cached for offline starts.
    EXPECT_EQ(InitiateTransactionsResponse::decode(h.cache.read().value())->data.transactionId, "txn-42");
}

TEST(AccessToken, AnUndecodableTokenReplyStoresEmptyTokensAndStillInitiates) {
    const std::vector<std::string> replies = {
        R"({"accessToken":"a","refreshToken":"r","tokenType":"t","expiresIn":3600,"message":"m"})",  // number
        R"({"accessToken":"a"})", "not json", "[]"};
    for (const auto& reply : replies) {
        SessionHarness h;
        h.keychain.set("old-token", "accessToken");
        h.http->enqueue(SimulatedHttpClient::ok(reply));
        h.http->enqueue(SimulatedHttpClient::ok(SessionHarness::documentJSON("txn")));
        Keys keys;
        h.tokenService->requestAccessToken("alice", "secret", "Acme", keys.callback());
        h.executor->runUntilIdle();
        ASSERT_EQ(h.http->requestCount(), 2u) << reply;
        EXPECT_EQ(h.http->requests()[1].header("Authorization").value(), "Bearer ") << reply;
        EXPECT_EQ(h.keychain.string("accessToken"), "") << reply;
        EXPECT_EQ(h.keychain.string("refreshToken"), "") << reply;
        EXPECT_EQ(keys.values, std::vector<std::string>{"txn"});
    }
}

TEST(AccessToken, AFailedTokenCallNeverCompletesAndLogsItsErrorByLevel) {
    for (int64_t level : {-1, 0, 1, 2, 3}) {
        SessionHarness h;
        SessionConfiguration configuration;
        configuration.logLevel = level;
        h.config.replace(configuration);
        h.http->setResponder([](const HttpRequest&) { return SimulatedHttpClient::status(401, "{}"); });
        Keys keys;
        h.tokenService->requestAccessToken("alice", "wrong", "Acme", keys.callback());
        h.executor->advance(std::chrono::seconds(10));
        EXPECT_TRUE(keys.values.empty()) << level;
        EXPECT_EQ(h.http->requestCount(), 2u) << "one retry";
        size_t tokenErrors = 0, requests = 0;
        for (const auto& record : h.logs.records()) {
            if (record.apiName == "accessToken" && record.type == "Error") ++tokenErrors;
            if (record.type == "Request") ++requests;
            EXPECT_EQ(record.message.find("wrong"), std::string::npos) << "no secret in a record";
        }
        EXPECT_EQ(tokenErrors > 0, level >= 0 && level <= 2) << level;
        EXPECT_EQ(requests, level == 2 ? 1u : 0u) << level;
    }
}

TEST(Initiate, ADocumentWithoutTransactionIdHandsOnAnEmptyKey) {
    SessionHarness h;
    h.http->enqueue(SimulatedHttpClient::ok(SessionHarness::documentJSON(std::nullopt)));
    Keys keys;
    h.sessionService->initiateTransactions("", "", "Acme", keys.callback());
    h.executor->runUntilIdle();
    EXPECT_EQ(keys.values, std::vector<std::string>{""});
    EXPECT_FALSE(h.config.sessionKey().has_value());
    EXPECT_EQ(h.keychain.string("transactionId"), "");
}

// An answer that is not a configuration document opens no session: the host
// and the store see "", the cache stays, and the cached configuration stays in
// force (the built-in default only when the cache does not decode).
TEST(Initiate, AnUnreadableReplyKeepsTheCachedConfigurationInForce) {
    struct Case {
        const char* name;
        std::string reply;
        bool cached;
    };
    const std::string notUtf8 = "{\"data\":{\"transactionId\":\"\xff\xfe\"}}";
    const Case cases[] = {
        {"an error object, with a cache", R"({"ResponseCode":"9","ResponseText":"no"})", true},
        {"malformed JSON, with a cache", R"({"data": {)", true},
        {"wrong types, with a cache", R"({"apiVersion": 1, "time": [], "data": "x"})", true},
        {"text that is not UTF-8, with a cache", notUtf8, true},
        {"an error object, without a cache", R"({"ResponseCode":"9"})", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::ScopedLogs logs;
        SessionHarness h;
        if (c.cached) {
            ASSERT_TRUE(h.cache.write(SessionHarness::documentJSON("cached-txn")));
        }
        h.http->enqueue(SimulatedHttpClient::ok(c.reply));
        Keys keys;
        h.sessionService->initiateTransactions("", "", "Acme", keys.callback());
        h.executor->runUntilIdle();
        EXPECT_EQ(keys.values, std::vector<std::string>{""});
        EXPECT_EQ(h.keychain.string("transactionId"), "");
        if (c.cached) {
            EXPECT_EQ(h.config.sessionKey(), "cached-txn");
            EXPECT_EQ(h.config.apiSetting().size(), 3u) << "the cached document's settings";
            EXPECT_TRUE(h.sink->mentions("the cached configuration is in force"));
            EXPECT_EQ(InitiateTransactionsResponse::decode(h.cache.read().value())->data.transactionId, "cached-txn");
        } else {
            EXPECT_EQ(h.config.fppEnable(), false);
            EXPECT_EQ(h.config.visitorIDExpired(), true);
            EXPECT_EQ(h.config.apiSetting().size(), 6u) << "the default's settings";
            EXPECT_TRUE(h.sink->mentions("the built-in default configuration is in force"));
            EXPECT_FALSE(h.cache.read());
        }
    }
}

TEST(Initiate, AFailedCallFallsBackToTheCacheThenTheDefault) {
    struct Case {
        std::string name;
        std::function<void(SessionHarness&)> prepare;
        std::string expectedKey;
    };
    const std::vector<Case> cases = {
        {"cached document", [](auto& h) { h.cache.write(SessionHarness::documentJSON("from-cache")); }, "from-cache"},
        {"no cache file", [](auto&) {}, ""},
        {"corrupt cache file",
         [](auto& h) {
             std::ofstream(h.cache.fileURL(CacheManager::kCacheFileName), std::ios::binary) << "garbage";
         },
         ""},
        {"cached error reply", [](auto& h) { h.cache.write(R"({"ResponseCode":"1"})"); }, ""},
    };
    for (const auto& c : cases) {
        SessionHarness h;
        c.prepare(h);
        h.http->setResponder([](const HttpRequest&) { return SimulatedHttpClient::noResponse("refused"); });
        Keys keys;
        h.sessionService->initiateTransactions("", "", "Acme", keys.callback());
        h.executor->advance(std::chrono::seconds(3));
        EXPECT_TRUE(keys.values.empty()) << c.name << ": still retrying";
        h.executor->advance(std::chrono::seconds(3));
        EXPECT_EQ(keys.values, std::vector<std::string>{c.expectedKey}) << c.name;
        EXPECT_EQ(h.http->requestCount(), 2u);
    }
}

TEST(Initiate, LogLevelDecidesWhichRecordsAreMade) {
    // The level that applies is the one in force when the call is made.
    for (int64_t level : {0, 1, 2, 3}) {
        SessionHarness h;
        SessionConfiguration configuration;
        configuration.logLevel = level;
        h.config.replace(configuration);
        h.http->setResponder([](const HttpRequest&) { return SimulatedHttpClient::status(500, "oops"); });
        h.sessionService->initiateTransactions("", "", "Acme", {});
        h.executor->advance(std::chrono::seconds(7));
        size_t requests = 0, errors = 0;
        for (const auto& record : h.logs.records()) {
            if (record.apiName != "initiate") continue;
            requests += record.type == "Request";
            errors += record.type == "Error";
        }
        EXPECT_EQ(requests, level == 2 ? 1u : 0u) << level;
        EXPECT_EQ(errors > 0, level <= 2) << level;
    }
}

TEST(GetSessionKey, AppliesTheCacheWithoutAnyNetwork) {
    SessionHarness h;
    h.cache.write(SessionHarness::documentJSON("offline-txn"));
    Keys keys;
    h.sessionService->getSessionKey(keys.callback());
    EXPECT_EQ(keys.values, std::vector<std::string>{"offline-txn"});
    EXPECT_EQ(h.http->requestCount(), 0u);
    EXPECT_EQ(h.config.sessionKey(), "offline-txn");
}

}  // namespace
}  // namespace quarra
