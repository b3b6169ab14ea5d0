#include <gtest/gtest.h>

#include <quarra/tracking/ButtonTrackingAction.hpp>
#include <quarra/tracking/FieldTags.hpp>
#include <quarra/tracking/ScreenTags.hpp>
#include <quarra/tracking/UserEventType.hpp>

namespace quarra {
namespace {

TEST(VocabularyTest, EveryRawStringFindsItsOwnCase) {
    for (int i = 0; i <= static_cast<int>(FieldTags::LoginPickerView); ++i) {
        auto tag = static_cast<FieldTags>(i);
        EXPECT_EQ(fieldTagsFromRawValue(rawValue(tag)), tag) << rawValue(tag);
    }
    for (int i = 0; i <= static_cast<int>(ButtonTrackingAction::CompleteOrder); ++i) {
        auto action = static_cast<ButtonTrackingAction>(i);
        EXPECT_EQ(buttonTrackingActionFromRawValue(rawValue(action)), action) << rawValue(action);
    }
    for (int i = 0; i <= static_cast<int>(ScreenTags::GiftCard); ++i) {
        auto tag = static_cast<ScreenTags>(i);
        EXPECT_EQ(screenTagsFromRawValue(rawValue(tag)), tag) << rawValue(tag);
    }
}

TEST(VocabularyTest, LookupIsExactAndCaseSensitive) {
    struct Case {
        std::string_view raw;
        bool isFieldTag;
    };
    const Case cases[] = {
        {"Password", true},    {"Undefined", true}, {"LoginPickerView", true}, {"PurchaseCardCVV", true},
        {"password", false},   {"None", false},     {"", false},               {"Password ", false},
        {"LoginAttempt", false},
    };
    for (const auto& c : cases) EXPECT_EQ(fieldTagsFromRawValue(c.raw).has_value(), c.isFieldTag) << c.raw;
    EXPECT_EQ(rawValue(FieldTags::None), "Undefined");
    EXPECT_EQ(rawValue(FieldTags::PurchaseCardExpirationDateMonth), "PurchaseCardExpirationDateMonth");
    EXPECT_FALSE(buttonTrackingActionFromRawValue("loginattempt"));
    EXPECT_FALSE(buttonTrackingActionFromRawValue("None"));
    EXPECT_FALSE(screenTagsFromRawValue("None"));
}

TEST(VocabularyTest, ScreenTagsAreNamedByCaseInConsoleLines) {
    EXPECT_EQ(caseName(ScreenTags::None), "None");
    EXPECT_EQ(rawValue(ScreenTags::None), "Undefined");
    EXPECT_EQ(caseName(ScreenTags::ForgotPassword), "ForgotPassword");
}

TEST(VocabularyTest, UserEventCodesFollowTheScreenAndActionRule) {
    struct Case {
        ScreenTags tag;
        int enter;
        int exit;
    };
    const Case cases[] = {
        {ScreenTags::None, 0, 0},          {ScreenTags::Login, 1, 2},     {ScreenTags::ForgotPassword, 3, 4},
        {ScreenTags::Checkout, 13, 14},    {ScreenTags::SendMoney, 25, 26}, {ScreenTags::GiftCard, 27, 28},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rawValue(enterEvent(c.tag)), c.enter) << caseName(c.tag);
        EXPECT_EQ(rawValue(exitEvent(c.tag)), c.exit) << caseName(c.tag);
    }
    EXPECT_EQ(enterEvent(ScreenTags::Checkout), UserEventType::CheckoutEnter);
    EXPECT_EQ(exitEvent(ScreenTags::GiftCard), UserEventType::GiftCardExit);
    EXPECT_EQ(rawValue(UserEventType::LoginAttempt), 29);
    EXPECT_EQ(rawValue(UserEventType::ShowCart), 36);
    EXPECT_EQ(rawValue(UserEventType::CompleteOrder), 40);
}

TEST(VocabularyTest, UserEventCodesOutsideTheRangeHaveNoCase) {
    EXPECT_EQ(userEventTypeFromRawValue(0), UserEventType::None);
    EXPECT_EQ(userEventTypeFromRawValue(40), UserEventType::CompleteOrder);
    EXPECT_FALSE(userEventTypeFromRawValue(41));
    EXPECT_FALSE(userEventTypeFromRawValue(-1));
}

}  // namespace
}  // namespace quarra
