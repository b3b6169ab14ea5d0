// Credentials never leave the process inside a diagnostic message.
#include <gtest/gtest.h>

#include "logging/SecretScrubber.hpp"

namespace quarra {
namespace {

TEST(SecretScrubber, RemovesCredentialsAndKeepsTheRest) {
    struct Case {
        std::string message;
        std::string secret;  // must be gone ("" when nothing is secret)
        std::string kept;    // must still be there
    };
    const Case cases[] = {
        {R"({"accessToken":"tok-123","tokenType":"Bearer"})", "tok-123", R"("tokenType":"Bearer")"},
        {"{\n  \"refreshToken\": \"r-456\",\n  \"expiresIn\": \"3600\"\n}", "r-456", "\"expiresIn\": \"3600\""},
        {R"({"outer":{"list":[{"SecretKey":"s3cr3t"}]},"element":"Password"})", "s3cr3t", R"("element":"Password")"},
        {"Authorization: Basic dXNlcjpzM2NyM3Q=", "dXNlcjpzM2NyM3Q=", "Authorization: Basic "},
        {"header bearer abcdefghijklmnopqrstuvwxyz end", "abcdefghijklmnopqrstuvwxyz", " end"},
        {"Basic information about the device", "", "Basic information about the device"},
        {R"({"ResponseCode":"0","ResponseText":"ok"})", "", R"({"ResponseCode":"0","ResponseText":"ok"})"},
        {"not json {", "", "not json {"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        std::string scrubbed = withoutSecrets(c.message);
        if (!c.secret.empty()) {
            EXPECT_EQ(scrubbed.find(c.secret), std::string::npos) << scrubbed;
            EXPECT_NE(scrubbed.find("[redacted]"), std::string::npos) << scrubbed;
        } else {
            EXPECT_EQ(scrubbed, c.message);
        }
        EXPECT_NE(scrubbed.find(c.kept), std::string::npos) << scrubbed;
    }
}

}  // namespace
}  // namespace quarra
