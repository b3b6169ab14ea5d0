#include <gtest/gtest.h>

#include "config/CacheManager.hpp"

namespace quarra {
namespace {

BaseUrls testBaseUrls() {
    return BaseUrls::from(ServiceOrigins{.platform = "https://platform.test",
                                         .collector = "https://collector.test",
                                         .certification = "https://cert.test",
                                         .log = "https://log.test"});
}

TEST(DefaultConfiguration, FeatureRecordsAreTheBuiltInTableInOrder) {
    struct Row {
        const char* apiName;
        bool enabled;
        int64_t retryCount, connectionTimeout, retryInterval, writeTimeout, readTimeout;
    };
    const Row expected[] = {
        {"InsertUserData", false, 3, 3000, 0, 3000, 3000},       {"InsertLocationInfo", false, 0, 3000, 0, 3000, 3000},
        {"fingerprintPro", false, 0, 3000, 0, 3000, 3000},       {"userEvents", false, 0, 3000, 0, 3000, 300},
        {"InsertActivityStream", false, 0, 3000, 0, 3000, 300}, {"InsertLogData", true, 0, 3000, 0, 3000, 300},
    };
    const auto features = CacheManager::defaultConfiguration(testBaseUrls()).data.configuration.dataCollector.featureDetails;
    ASSERT_EQ(features.size(), std::size(expected));
    for (size_t i = 0; i < features.size(); ++i) {
        const auto& row = expected[i];
        EXPECT_EQ(features[i], (FeatureDetails{.apiName = row.apiName, .enabled = row.enabled,
                                               .retryCount = row.retryCount, .connectionTimeout = row.connectionTimeout,
                                               .retryInterval = row.retryInterval, .writeTimeout = row.writeTimeout,
                                               .readTimeout = row.readTimeout}))
            << "record " << i;
    }
    EXPECT_EQ(CacheManager::defaultFeatureDetails(), features);
}

TEST(DefaultConfiguration, FlagsTextsAndBaseUrls) {
    const auto document = CacheManager::defaultConfiguration(testBaseUrls());
    for (const auto* text : {&document.apiVersion, &document.time, &document.data.transactionId,
                             &document.data.customerName, &document.data.ipAddress, &document.data.userAgent}) {
        ASSERT_TRUE(text->has_value());
        EXPECT_EQ(**text, "");
    }
    const auto& collector = document.data.configuration.dataCollector;
    EXPECT_EQ(collector.flags, (Flags{.visitorIDExpired = true, .flushStoredData = false, .logLevel = 0,
                                      .fppenabled = false, .fpjsapiToken = ""}));
    EXPECT_EQ(collector.baseEndPoints.baseDcUrl, "https://collector.test/api/data/collect/");
    EXPECT_EQ(collector.baseEndPoints.baseLoggingUrl, "https://log.test/certification/v1/InsertLogData/");
    EXPECT_EQ(document.data.configuration.threatMetrix, (ThreatMatrix{.sessionId = "", .orgId = ""}));
}

TEST(DefaultConfiguration, SurvivesItsOwnJsonForm) {
    const auto document = CacheManager::defaultConfiguration(testBaseUrls());
    EXPECT_EQ(InitiateTransactionsResponse::decode(document.toJSON().dump()), document);
}

}  // namespace
}  // namespace quarra
