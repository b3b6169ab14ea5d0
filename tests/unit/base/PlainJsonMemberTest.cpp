// Reading an answer's code in place must never disagree with a full parse:
// it gives the member's value, or leaves the answer to the parser.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "base/JsonText.hpp"
#include "base/PlainJsonMember.hpp"

namespace quarra {
namespace {

TEST(PlainJsonMember, ReadsFlatAnswersAndLeavesTheRestToTheParser) {
    struct Case {
        std::string json;
        std::optional<std::string> code;  // nothing: left to the parser
    };
    const Case cases[] = {
        {R"({"ResponseCode":"0","ResponseText":"stored"})", "0"},
        {R"({"ResponseCode":"0"})", "0"},
        {R"({"ResponseText":"refused","ResponseCode":"1"})", "1"},
        {" {\n\t\"ResponseCode\" : \"0\" ,\r\n \"ResponseText\":\"a / b\" } \n", "0"},
        {R"({"ResponseCode":""})", ""},
        // Anything but a flat object of plain texts.
        {R"({"ResponseText":"stored"})", std::nullopt},
        {R"({})", std::nullopt},
        {R"({"ResponseCode":0})", std::nullopt},
        {R"({"ResponseCode":"0","Extra":{"a":"b"}})", std::nullopt},
        {R"({"ResponseCode":"0","Extra":null})", std::nullopt},
        {R"({"ResponseCode":"\u0030"})", std::nullopt},
        {R"({"Response\u0043ode":"0"})", std::nullopt},
        {R"({"ResponseCode":"1","ResponseCode":"0"})", std::nullopt},
        {"{\"ResponseCode\":\"0\",\"City\":\"S\xc3\xa3o Paulo\"}", std::nullopt},
        // Not JSON at all.
        {R"({"ResponseCode":"0"}x)", std::nullopt},
        {R"({"ResponseCode":"0",})", std::nullopt},
        {R"({"ResponseCode":"0")", std::nullopt},
        {R"({"ResponseCode""0"})", std::nullopt},
        {R"(["ResponseCode","0"])", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto read = plainJSONMember(c.json, "ResponseCode");
        EXPECT_EQ(read ? std::optional<std::string>(*read) : std::nullopt, c.code) << c.json;
        if (read) {
            // Whatever it reads, the parser reads too.
            const auto parsed = parseJSON(c.json);
            ASSERT_TRUE(parsed && parsed->is_object()) << c.json;
            EXPECT_EQ((*parsed)["ResponseCode"], std::string(*read)) << c.json;
        }
    }
}

}  // namespace
}  // namespace quarra
