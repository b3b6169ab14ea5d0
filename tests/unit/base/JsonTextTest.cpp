#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/DecimalText.hpp"
#include "base/JsonText.hpp"
#include "base/Timestamps.hpp"

namespace quarra {
namespace {

TEST(CompactJSON, EscapesSlashesAndHasNoWhitespace) {
    JSONDictionary envelope = {{"events", JSONDictionary::array({{{"url", "https://a.example/b"}}})},
                               {"sessionId", "k/1"}};
    EXPECT_EQ(compactJSON(envelope).value(), R"({"events":[{"url":"https:\/\/a.example\/b"}],"sessionId":"k\/1"})");
}

TEST(CompactJSON, EscapesEverySlashWhereverItStands) {
    const std::pair<std::string, std::string> cases[] = {
        {"", R"("")"},           {"plain", R"("plain")"},     {"/", R"("\/")"},
        {"//", R"("\/\/")"},     {"/a/", R"("\/a\/")"},     {"a//b/", R"("a\/\/b\/")"},
        {"\\/", R"("\\\/")"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(compactJSON(JSONDictionary(text)).value(), expected) << text;
}

// Waiting reports are kept as this text, so its spare room is memory per report.
TEST(CompactJSON, TextCarriesNoSpareRoom) {
    JSONDictionary report;
    for (int i = 0; i < 12; ++i) report["key" + std::to_string(i)] = std::string(20, static_cast<char>('a' + i));
    // None, a few and many slashes (each escaped): no spare room either way.
    for (const char* url : {"", "https://a.example/b", "https://a.example/b/c/d/e/f/g/h/i/j/k/l/m/n/o/p/q/r/s/t"}) {
        if (*url) report["url"] = url;
        const auto text = compactJSON(report).value();
        EXPECT_LE(text.capacity(), text.size() + text.size() / 8) << "url: " << url;
    }
}

// Keys, paths and names take a short way; whatever the text, it must come out
// as the full writer would write it.
TEST(CompactJSON, OneTextComesOutAsTheWriterWritesIt) {
    const std::string cases[] = {
        "",
        "3F2504E0-4F89-11D3-9A0C-0305E82C3301",
        "/v1/events/report",
        "https://a.example/b?c=d&e=f#g",
        " ~!@#$%^&*()_+`-={}|[]:;'<>?,.",
        "quote \" inside",
        "back\\slash and /",
        "line\nbreak\ttab\rreturn",
        std::string("nul\0inside", 10),
        "\x1f unit separator",
        "\x7f delete",
        "caf\xc3\xa9 na\xc3\xafve \xe2\x82\xac \xf0\x9f\x98\x80",
    };
    for (const auto& text : cases) {
        EXPECT_EQ(compactJSONString(text), compactJSON(JSONDictionary(text))) << text;
        EXPECT_TRUE(compactJSONString(text).has_value()) << text;
    }
    EXPECT_FALSE(compactJSONString("\xff\xfe").has_value());
    EXPECT_FALSE(compactJSONString("half \xc3").has_value());
}

TEST(CompactJSON, FailsOnTextThatIsNotUTF8AndOnNonFiniteNumbers) {
    EXPECT_FALSE(compactJSON(JSONDictionary{{"a", std::string("\xff\xfe")}}).has_value());
    EXPECT_FALSE(compactJSON(JSONDictionary{{"a", {1.0, std::numeric_limits<double>::quiet_NaN()}}}).has_value());
    EXPECT_FALSE(compactJSON(JSONDictionary{{"a", std::numeric_limits<double>::infinity()}}).has_value());
    EXPECT_FALSE(prettyJSON(JSONDictionary{{"a", std::string("\xc3")}}).has_value());
    EXPECT_EQ(prettyPrintedOrFallback(JSONDictionary{{"a", std::string("\xc3")}}), "Could not pretty print JSON parameters");
}

TEST(PrettyJSON, IsMultiLineAndReadsBack) {
    JSONDictionary value = {{"b", "x"}, {"a", {{"c", 1}}}};
    auto text = prettyPrintedOrFallback(value);
    EXPECT_NE(text.find('\n'), std::string::npos);
    EXPECT_EQ(parseJSON(text).value(), value);
}

TEST(ParseJSON, AcceptsFragmentsAndRejectsNonJSON) {
    EXPECT_EQ(parseJSON("\"0\"").value(), "0");
    EXPECT_EQ(parseJSON("12").value(), 12);
    EXPECT_FALSE(parseJSON("Service unavailable").has_value());
    EXPECT_FALSE(parseJSON("").has_value());
}

TEST(ShortestDecimal, KeepsOneDigitAfterThePointAndRoundTrips) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {0.0, "0.0"},          {12.5, "12.5"},       {-122.0, "-122.0"},     {77.2167, "77.2167"},
        {28.6139, "28.6139"},  {-0.1, "-0.1"},       {1e-7, "1e-07"},        {1e300, "1e+300"},
        {0.1 + 0.2, "0.30000000000000004"},          {180.0, "180.0"},       {-33.8688, "-33.8688"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shortestDecimal(c.value), c.text) << c.value;
        EXPECT_EQ(std::stod(shortestDecimal(c.value)), c.value);
    }
}

TEST(Timestamps, FormatWithMillisecondsInUTCAndLocalTime) {
    using namespace std::chrono;
    Clock::TimePoint when{milliseconds(1'700'000'000'123)};  // 2023-11-14 22:13:20.123 UTC
    EXPECT_EQ(formatUTCTimestamp(when), "2023-11-14 22:13:20.123");
    setenv("TZ", "Asia/Kolkata", 1);
    tzset();
    EXPECT_EQ(formatLocalTimestamp(when), "2023-11-15 03:43:20.123");
    unsetenv("TZ");
    tzset();
    EXPECT_EQ(formatUTCTimestamp(Clock::TimePoint{milliseconds(-1)}), "1969-12-31 23:59:59.999");
}

}  // namespace
}  // namespace quarra
