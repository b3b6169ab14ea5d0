#include "tracking/TypedSnapshots.hpp"

namespace quarra {
namespace {

// Zeroes a string's whole buffer, including short strings kept inline.
template <typename String>
void zero(String& text) {
    text.resize(text.capacity());
    sodium_memzero(text.data(), text.size());
    text.clear();
}

}  // namespace

void TypedSnapshots::append(std::string& text) {
    texts_.emplace_back(text.data(), text.size());
    zero(text);
}

void TypedSnapshots::wipe() {
    for (auto& text : texts_) zero(text);
    texts_.clear();
}

}  // namespace quarra
