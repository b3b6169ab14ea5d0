#pragma once
// The process-wide text-editing notifications. Every field posts its editing
// events here and every observer sees every field's notifications, so each
// observer decides for itself whether a notification concerns it.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace quarra {

class ViewNode;

enum class TextEditingNotificationName {
    textFieldDidBeginEditing,
    textFieldDidChange,
    textFieldDidEndEditing,
    textViewDidBeginEditing,
    textViewDidChange,
    textViewDidEndEditing,
};

struct TextEditingNotification {
    TextEditingNotificationName name;
    // The field or text view that posted it; valid only during delivery.
    ViewNode* object = nullptr;
};

// Main queue only: post, add and remove are called there, and observers run
// there, synchronously, in the order they were added.
class TextEditingNotificationCenter {
public:
    using Observer = std::function<void(const TextEditingNotification&)>;
    using Token = uint64_t;

    // The centre the shared tracking context uses.
    static std::shared_ptr<TextEditingNotificationCenter> shared();

    Token addObserver(TextEditingNotificationName name, Observer observer);
    // An observer removed during a post is not called afterwards.
    void removeObserver(Token token);
    void post(const TextEditingNotification& notification);
    size_t observerCount() const { return observers_.size(); }

private:
    struct Entry {
        TextEditingNotificationName name;
        std::shared_ptr<const Observer> observer;
    };
    std::map<Token, Entry> observers_;
    Token nextToken_ = 1;
};

}  // namespace quarra
