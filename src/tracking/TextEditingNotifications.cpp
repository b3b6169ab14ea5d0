#include <quarra/tracking/TextEditingNotifications.hpp>

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
    std::vector<std::pair<Token, std::shared_ptr<const Observer>>> recipients;
    for (const auto& [token, entry] : observers_) {
        if (entry.name == notification.name) recipients.emplace_back(token, entry.observer);
    }
    for (const auto& [token, observer] : recipients) {
        if (!observers_.contains(token)) continue;
        (*observer)(notification);
    }
}

}  // namespace quarra
