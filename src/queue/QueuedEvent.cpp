#include "queue/QueuedEvent.hpp"

namespace quarra {
namespace {

bool isTextToText(const JSONDictionary& value) {
    if (!value.is_object()) return false;
    for (const auto& item : value) {
        if (!item.is_string()) return false;
    }
    return true;
}

}  // namespace

bool QueuedEvent::matches(const QueuedEvent& other) const {
    if (!event.is_object()) return false;
    for (const auto& [key, mine] : event.items()) {
        const JSONDictionary* theirs = nullptr;
        if (other.event.is_object()) {
            if (auto it = other.event.find(key); it != other.event.end()) theirs = &*it;
        }
        if (mine.is_string()) {
            if (theirs == nullptr || !theirs->is_string() || *theirs != mine) return false;
        } else if (!isTextToText(mine) || theirs == nullptr || !isTextToText(*theirs) || *theirs != mine) {
            return false;
        }
    }
    return true;
}

}  // namespace quarra
