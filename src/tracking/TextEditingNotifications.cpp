#include <quarra/tracking/TextEditingNotifications.hpp>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace quarra {

TextEditingNotificationCenter::Token TextEditingNotificationCenter::addObserver(TextEditingNotificationName name,
                                                                                Observer observer) {
    Token token = nextToken_++;
    observers_.emplace(token, Entry{name, std::make_shared<const Observer>(std::move(observer))});
    return token;
}

void TextEditingNotificationCenter::removeObserver(Token token) { observers_.erase(token); }

void TextEditingNotificationCenter::post(const TextEditingNotification& notification) {
    // Observers may add or remove observers (a field leaving its window, a
    // control destroyed): deliver from a snapshot and skip the removed ones.
    // A screen's few fields fit the snapshot on the stack: a keystroke costs
    // no allocation.
    using Recipient = std::pair<Token, std::shared_ptr<const Observer>>;
    constexpr size_t kOnStack = 16;
    std::array<Recipient, kOnStack> onStack;
    std::vector<Recipient> more;
    size_t count = 0;
    for (const auto& [token, entry] : observers_) {
        if (entry.name != notification.name) continue;
        if (count < kOnStack) {
            onStack[count] = {token, entry.observer};
        } else {
            more.emplace_back(token, entry.observer);
        }
        ++count;
    }
    auto deliver = [&](const Recipient& recipient) {
        if (observers_.contains(recipient.first)) (*recipient.second)(notification);
    };
    for (size_t i = 0; i < std::min(count, kOnStack); ++i) deliver(onStack[i]);
    for (const auto& recipient : more) deliver(recipient);
}

}  // namespace quarra
