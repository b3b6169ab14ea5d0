#include <quarra/tracking/UserEventType.hpp>

#include <quarra/tracking/ButtonTrackingAction.hpp>

namespace quarra {
namespace {

constexpr int kScreenCount = static_cast<int>(ScreenTags::GiftCard);       // tags 1 to 14
constexpr int kActionCount = static_cast<int>(ButtonTrackingAction::CompleteOrder);  // actions 1 to 12

// The rule the enumeration is written out by: two codes per screen tag, then
// the button actions.
static_assert(static_cast<int>(UserEventType::LoginEnter) == 2 * static_cast<int>(ScreenTags::Login) - 1);
static_assert(static_cast<int>(UserEventType::GiftCardExit) == 2 * kScreenCount);
static_assert(static_cast<int>(UserEventType::LoginAttempt) ==
              2 * kScreenCount + static_cast<int>(ButtonTrackingAction::LoginAttempt));
static_assert(static_cast<int>(UserEventType::CompleteOrder) == 2 * kScreenCount + kActionCount);

}  // namespace

std::optional<UserEventType> userEventTypeFromRawValue(int raw) {
    if (raw < 0 || raw > rawValue(UserEventType::CompleteOrder)) return std::nullopt;
    return static_cast<UserEventType>(raw);
}

UserEventType enterEvent(ScreenTags tag) {
    int k = static_cast<int>(tag);
    if (k <= 0 || k > kScreenCount) return UserEventType::None;
    return static_cast<UserEventType>(2 * k - 1);
}

UserEventType exitEvent(ScreenTags tag) {
    int k = static_cast<int>(tag);
    if (k <= 0 || k > kScreenCount) return UserEventType::None;
    return static_cast<UserEventType>(2 * k);
}

}  // namespace quarra
