#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "config/CacheManager.hpp"
#include "config/SessionConfigManager.hpp"
#include <quarra/testing/ManualExecutor.hpp>
#include <quarra/testing/SimulatedHttpClient.hpp>
#include "transport/RequestsManager.hpp"

namespace quarra {
namespace {

FeatureDetails named(std::optional<std::string> apiName, int64_t retryCount, bool enabled = true) {
    return FeatureDetails{.apiName = std::move(apiName), .enabled = enabled, .retryCount = retryCount,
                          .connectionTimeout = 5000, .retryInterval = 2000, .writeTimeout = 1000,
                          .readTimeout = 1000};
}

InitiateTransactionsResponse document(std::optional<std::string> transactionId, std::string dcUrl,
                                      std::vector<FeatureDetails> features) {
    auto doc = CacheManager::defaultConfiguration(BaseUrls{});
    doc.data.transactionId = std::move(transactionId);
    auto& collector = doc.data.configuration.dataCollector;
    collector.flags = Flags{.visitorIDExpired = false, .flushStoredData = true, .logLevel = 2, .fppenabled = true,
                            .fpjsapiToken = "fp-key"};
    collector.baseEndPoints = BaseEndPoints{.baseDcUrl = std::move(dcUrl), .baseLoggingUrl = "https://log.test/in/"};
    collector.featureDetails = std::move(features);
    return doc;
}

struct LookupCase {
    const char* name;
    std::optional<std::vector<FeatureDetails>> applied;  // nullopt: nothing applied yet
    std::string apiName;
    std::optional<FeatureDetails> expected;
};

void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.name; }

class FeatureLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(FeatureLookup, FindsTheFirstRecordWithThatExactName) {
    const auto& c = GetParam();
    SessionConfigManager holder;
    if (c.applied) holder.replace(SessionConfiguration::from(document("T", "https://dc/", *c.applied)));
    EXPECT_EQ(SessionConfigUtility::featureDetails(c.apiName, holder), c.expected);
}

const auto kDefaults = CacheManager::defaultFeatureDetails();

INSTANTIATE_TEST_SUITE_P(
    Table, FeatureLookup,
    ::testing::Values(
        LookupCase{"userData before any apply is unknown", std::nullopt, "userData", std::nullopt},
        LookupCase{"fingerprintPro before any apply is the disabled default", std::nullopt, "fingerprintPro",
                   kDefaults[2]},
        LookupCase{"InsertLogData before any apply is enabled", std::nullopt, "InsertLogData", kDefaults[5]},
        LookupCase{"applied record found", std::vector{named("userData", 4)}, "userData", named("userData", 4)},
        LookupCase{"duplicates: the first wins", std::vector{named("userData", 1), named("userData", 2)}, "userData",
                   named("userData", 1)},
        LookupCase{"names are case-sensitive", std::vector{named("UserData", 1)}, "userData", std::nullopt},
        LookupCase{"no prefix match", std::vector{named("userDataX", 1)}, "userData", std::nullopt},
        LookupCase{"a record without a name is never found", std::vector{named(std::nullopt, 1)}, "", std::nullopt},
        LookupCase{"nameless record skipped for the next", std::vector{named(std::nullopt, 1), named("", 7)}, "",
                   named("", 7)},
        LookupCase{"defaults no longer stand in once applied", std::vector{named("userData", 1)}, "InsertLogData",
                   std::nullopt},
        LookupCase{"disabled record still returned", std::vector{named("userEvents", 0, false)}, "userEvents",
                   named("userEvents", 0, false)}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

class ApplyConfiguration : public ::testing::Test {
protected:
    std::shared_ptr<ManualExecutor> executor_ = std::make_shared<ManualExecutor>();
    BaseUrls builtIn_ = BaseUrls::from(ServiceOrigins{});
    RequestsManager transport_{RequestsManager::Dependencies{
        .session = std::make_shared<SimulatedHttpClient>(executor_),
        .mainExecutor = executor_,
        .worker = executor_,
        .baseUrls = builtIn_,
    }};
    SessionConfigManager holder_;
};

TEST_F(ApplyConfiguration, SetsTransportBaseUrlsAndAllNineFields) {
    const auto doc = document("TX-1", "https://dc.test/api/data/collect/", {named("userData", 3)});
    applyConfiguration(doc, transport_, holder_);

    EXPECT_EQ(transport_.baseUrl(), "https://dc.test/api/data/collect/");
    EXPECT_EQ(transport_.logBaseUrl(), "https://log.test/in/");
    const auto applied = holder_.snapshot();
    EXPECT_EQ(applied.visitorIDExpired, false);
    EXPECT_EQ(applied.fppEnable, true);
    EXPECT_EQ(applied.apiSetting, std::vector{named("userData", 3)});
    EXPECT_EQ(applied.sessionKey, "TX-1");
    EXPECT_EQ(applied.flushStoredData, true);
    EXPECT_EQ(applied.fPJSApiToken, "fp-key");
    EXPECT_EQ(applied.baseDcUrl, "https://dc.test/api/data/collect/");
    EXPECT_EQ(applied.baseLoggingUrl, "https://log.test/in/");
    EXPECT_EQ(applied.logLevel, 2);
    EXPECT_EQ(holder_.sessionKey(), "TX-1");
    EXPECT_EQ(holder_.logLevel(), 2);
}

TEST_F(ApplyConfiguration, ALaterDocumentReplacesEverythingEvenTheSessionKey) {
    applyConfiguration(document("TX-1", "https://first/", {named("userData", 3)}), transport_, holder_);
    auto fallback = CacheManager::defaultConfiguration(builtIn_);
    fallback.data.transactionId.reset();
    applyConfiguration(fallback, transport_, holder_);

    EXPECT_EQ(holder_.sessionKey(), std::nullopt);
    EXPECT_EQ(holder_.visitorIDExpired(), true);
    EXPECT_EQ(holder_.fppEnable(), false);
    EXPECT_EQ(holder_.logLevel(), 0);
    EXPECT_EQ(holder_.apiSetting(), CacheManager::defaultFeatureDetails());
    EXPECT_EQ(transport_.baseUrl(), builtIn_.collectorProduction);
    EXPECT_EQ(transport_.logBaseUrl(), builtIn_.log);
    EXPECT_EQ(SessionConfigUtility::featureDetails("userData", holder_), std::nullopt);
}

TEST(SessionConfigManagerHolder, StartsEmpty) {
    SessionConfigManager holder;
    const auto empty = holder.snapshot();
    EXPECT_FALSE(empty.sessionKey || empty.logLevel || empty.visitorIDExpired || empty.fppEnable ||
                 empty.flushStoredData || empty.fPJSApiToken || empty.baseDcUrl || empty.baseLoggingUrl);
    EXPECT_TRUE(empty.apiSetting.empty());
}

TEST(SessionConfigManagerHolder, ReadersNeverSeeHalfOfAReplacement) {
    SessionConfigManager holder;
    std::atomic<bool> mixed{false};
    std::thread writer([&] {
        for (int i = 0; i < 300; ++i) {
            const auto key = std::to_string(i);
            holder.replace(SessionConfiguration::from(document(key, "https://dc/" + key + "/", {})));
        }
    });
    std::thread reader([&] {
        for (int i = 0; i < 300; ++i) {
            auto seen = holder.snapshot();
            if (seen.sessionKey && seen.baseDcUrl != "https://dc/" + *seen.sessionKey + "/") mixed = true;
        }
    });
    writer.join();
    reader.join();
    EXPECT_FALSE(mixed);
    EXPECT_EQ(holder.sessionKey(), "299");
}

}  // namespace
}  // namespace quarra
