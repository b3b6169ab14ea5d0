// The envelope is written as text around the report's own JSON; the service
// reads it as a JSON document, so it must be exactly the document a JSON
// library would write for the same values.
#include <gtest/gtest.h>

#include "base/JsonText.hpp"
#include "collector/ReportEnvelope.hpp"

namespace quarra {
namespace {

using json = JSONDictionary;
using Case = DataCollectorAPI::Case;

constexpr EnvelopeNames kNames{"DataCollector", "https://app.example/page"};

// The envelope built as a JSON value, the way the service reads it.
json expectedEnvelope(const DataCollectorAPI& report, const json& data, const std::string& sessionKey) {
    json result = json::object();
    switch (report.kind()) {
        case Case::activityStreamData:
            result[report.dataKey()] =
                json::array({{{"url", std::string(kNames.pageURL)}, {"activityStream", json::array({data})}}});
            break;
        case Case::userEventData: result[report.dataKey()] = json::array({data}); break;
        default: result[report.dataKey()] = data; break;
    }
    result["sessionId"] = sessionKey;
    result["clientName"] = std::string(kNames.clientName);
    return result;
}

TEST(ReportEnvelope, IsTheDocumentAJsonLibraryWritesForEveryReportKind) {
    const Case kinds[] = {Case::userData,        Case::locationData,          Case::activityStreamData,
                          Case::userEventData,   Case::insertFignerPrintData, Case::insertSocialData,
                          Case::insertPerformanceData, Case::accelerometerData};
    const json dictionaries[] = {
        json::object(),
        {{"screen", "Login"}, {"n", 3}, {"ratio", 0.25}, {"ok", true}},
        {{"text", "quote \" slash / back \\ tab \t"}, {"nested", {{"a", json::array({1, "x", nullptr})}}}},
        {{"unicode", "Zoë → 東京"}},
    };
    const std::string sessionKeys[] = {"", "0b6c4f3e-session", "key/with\"quotes"};
    for (const auto kind : kinds) {
        const auto report = DataCollectorAPI::report(kind, "path", 30, 0, 0);
        for (const auto& data : dictionaries) {
            for (const auto& sessionKey : sessionKeys) {
                SCOPED_TRACE(report.dataKey() + " " + data.dump() + " " + sessionKey);
                const auto text = reportEnvelope(report, *compactJSON(data), sessionKey, kNames);
                ASSERT_TRUE(text.has_value());
                EXPECT_EQ(*text, *compactJSON(expectedEnvelope(report, data, sessionKey)));
                EXPECT_EQ(json::parse(*text), expectedEnvelope(report, data, sessionKey));
            }
        }
    }
}

TEST(ReportEnvelope, ASessionKeyThatIsNotUtf8IsRefusedNotSentMangled) {
    const auto report = DataCollectorAPI::report(Case::userData, "path", 30, 0, 0);
    EXPECT_FALSE(reportEnvelope(report, "{}", std::string("bad \xff key"), kNames).has_value());
}

}  // namespace
}  // namespace quarra
