#include <gtest/gtest.h>

#include "base/JsonText.hpp"
#include "transport/APIError.hpp"
#include "transport/HTTPMethod.hpp"
#include "transport/RetryPause.hpp"

namespace quarra {
namespace {

TEST(HTTPMethod, RawValuesRoundTripAndOnlyExactTextsParse) {
    const std::pair<HTTPMethod, std::string_view> cases[] = {
        {HTTPMethod::get, "GET"}, {HTTPMethod::post, "POST"},     {HTTPMethod::delete_, "DELETE"},
        {HTTPMethod::put, "PUT"}, {HTTPMethod::update, "UPDATE"}, {HTTPMethod::patch, "PATCH"},
    };
    for (const auto& [method, raw] : cases) {
        EXPECT_EQ(rawValue(method), raw);
        EXPECT_EQ(httpMethodFromRaw(raw), method) << raw;
    }
    for (std::string_view text : {"get", "Post", "", " GET", "GET ", "OPTIONS", "HEAD"}) {
        EXPECT_FALSE(httpMethodFromRaw(text).has_value()) << '"' << text << '"';
    }
}

TEST(APIError, JSONHasOnlyResponseCodeAndResponseText) {
    APIError error{"userData", "500", "HTTP status 500"};
    EXPECT_EQ(error.jsonText(), R"({"ResponseCode":"500","ResponseText":"HTTP status 500"})");
    auto parsed = parseJSON(error.jsonText()).value();
    EXPECT_FALSE(parsed.contains("apiName"));
    EXPECT_EQ(APIError::fromJSON(error.jsonText(), "userData"), error);
}

TEST(APIError, JSONTextEscapesSlashesAndIsEmptyWhenNotEncodable) {
    EXPECT_EQ((APIError{"p", "-1", "a/b"}.jsonText()), R"({"ResponseCode":"-1","ResponseText":"a\/b"})");
    EXPECT_EQ((APIError{"p", "-1", std::string("\xff")}.jsonText()), "");
}

TEST(APIError, DecodingNeedsBothTexts) {
    const char* rejected[] = {
        R"({"ResponseCode":"1"})",
        R"({"ResponseText":"x"})",
        R"({"ResponseCode":1,"ResponseText":"x"})",
        R"({"ResponseCode":"1","ResponseText":null})",
        R"(["ResponseCode","ResponseText"])",
        "not json",
        "",
    };
    for (const char* text : rejected) EXPECT_FALSE(APIError::fromJSON(text).has_value()) << text;
    EXPECT_EQ(APIError::fromJSON(R"({"ResponseText":"ok","ResponseCode":"0","extra":1})", "p"),
              (APIError{"p", "0", "ok"}));
}

TEST(APIError, DescriptionQuotesEachField) {
    EXPECT_EQ((APIError{"p", "c", "m"}.description()), R"(APIError(apiName: "p", code: "c", message: "m"))");
    EXPECT_EQ((APIError{"", "888", "say \"hi\"\n\\"}.description()),
              R"(APIError(apiName: "", code: "888", message: "say \"hi\"\n\\"))");
}

TEST(RetryPause, ReadsSecondsAndFallsBackToThree) {
    using std::chrono::milliseconds;
    const std::pair<const char*, milliseconds> cases[] = {
        {"", milliseconds(3000)},    {"abc", milliseconds(3000)},  {"3", milliseconds(3000)},
        {"0", milliseconds(0)},      {"0.25", milliseconds(250)},  {"1.5", milliseconds(1500)},
        {" 2", milliseconds(3000)},  {"2 ", milliseconds(3000)},   {"2s", milliseconds(3000)},
        {"-1", milliseconds(0)},     {"nan", milliseconds(3000)},  {"1e400", milliseconds(3000)},
        {"inf", milliseconds(86'400'000)},
    };
    for (const auto& [text, pause] : cases) EXPECT_EQ(retryPause(text), pause) << '"' << text << '"';
}

}  // namespace
}  // namespace quarra
