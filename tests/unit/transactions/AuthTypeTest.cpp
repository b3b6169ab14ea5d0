#include <gtest/gtest.h>

#include <quarra/AuthType.hpp>

#include "transactions/TransactionEventService.hpp"

namespace quarra {
namespace {

TEST(AuthTypeTest, RawValuesRoundTripAndNameTheEvaluationStep) {
    struct Row {
        AuthType type;
        std::string_view raw;
        std::string step;
    };
    const Row rows[] = {
        {AuthType::PreAuth, "PreAuth", "PostAuth"},
        {AuthType::PreAndPostAuth, "PreAndPostAuth", "PostAuth"},
        {AuthType::OneStepPostAut, "OneStepPostAut", "OneStepPostAuth"},
        {AuthType::unowned, "Undefined", "PostAuth"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(rawValue(row.type), row.raw);
        EXPECT_EQ(authTypeFromRaw(row.raw), row.type);
        EXPECT_EQ(TransactionEventService::evaluationStep(row.type), row.step) << row.raw;
    }
}

TEST(AuthTypeTest, OnlyTheExactRawTextsAreAccepted) {
    for (std::string_view text : {"OneStepPostAuth", "preauth", "PREAUTH", "unowned", "", " PreAuth"}) {
        EXPECT_FALSE(authTypeFromRaw(text)) << text;
    }
}

}  // namespace
}  // namespace quarra
