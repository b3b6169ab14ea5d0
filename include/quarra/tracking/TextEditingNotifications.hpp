#pragma once
/**
 * @file
 * @brief The process-wide text-editing notifications.
 *
 * Every field posts its editing events here and every observer sees every
 * field's notifications, so each observer decides for itself whether a
 * notification concerns it.
 */
#include <quarra/Export.hpp>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace quarra {

class ViewNode;

/// What happened to a text field or text view.
enum class TextEditingNotificationName {
    textFieldDidBeginEditing,  ///< A single-line field got the focus.
    textFieldDidChange,        ///< The user changed a field's text.
    textFieldDidEndEditing,    ///< A field lost the focus.
    textViewDidBeginEditing,   ///< A multi-line text view got the focus.
    textViewDidChange,         ///< The user changed a text view's text.
    textViewDidEndEditing,     ///< A text view lost the focus.
};

/**
 * @brief One notification: what happened, and to which view.
 *
 * @par Thread
 * Main queue only, like the views it points to.
 * @par Lifetime
 * A value type; `object` is valid only during delivery.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API TextEditingNotification {
    TextEditingNotificationName name;  ///< What happened.
    /// The field or text view that posted it; valid only during delivery.
    ViewNode* object = nullptr;
};

/**
 * @brief Delivers text-editing notifications to the observers of their name.
 *
 * @par Thread
 * Main queue only: post, add and remove are called there, and observers run
 * there, synchronously, in the order they were added.
 * @par Lifetime
 * An observer is kept until it is removed. shared() lives for the whole
 * process.
 * @par Blocking
 * post() blocks for as long as its observers run.
 */
class QUARRA_API TextEditingNotificationCenter {
public:
    /// Called with each notification of the observed name.
    using Observer = std::function<void(const TextEditingNotification&)>;
    /// Names an added observer, for removeObserver().
    using Token = uint64_t;

    /**
     * @brief The centre the shared tracking context uses.
     *
     * @par Thread
     * Any thread (the centre itself is main queue only).
     * @par Lifetime
     * Lives for the whole process.
     * @par Blocking
     * Never blocks on the disk (builds the library on first use, see
     * DataCollectorService::defaultService()).
     */
    static std::shared_ptr<TextEditingNotificationCenter> shared();

    /// Adds `observer` for notifications named `name`; kept until removed. Main queue.
    Token addObserver(TextEditingNotificationName name, Observer observer);
    /// Removes the observer; an observer removed during a post is not called afterwards. Main queue.
    void removeObserver(Token token);
    /// Calls every observer of the notification's name, in the order they were added, before returning. Main queue.
    void post(const TextEditingNotification& notification);
    /// How many observers are added. Main queue.
    size_t observerCount() const { return observers_.size(); }

private:
    struct QUARRA_API Entry {
        TextEditingNotificationName name;
        std::shared_ptr<const Observer> observer;
    };
    std::map<Token, Entry> observers_;
    Token nextToken_ = 1;
};

}  // namespace quarra
