#pragma once
// The text snapshots a field keeps during one editing period. They never
// leave the field, and every byte of memory that held them is zeroed before
// it is released: the strings' buffers, the list's storage when it grows,
// and the copy handed over by the toolkit.
#include <cstddef>
#include <string>
#include <vector>

#include <sodium.h>

namespace quarra {

template <typename T>
struct ZeroingAllocator {
    using value_type = T;
    ZeroingAllocator() = default;
    template <typename U>
    ZeroingAllocator(const ZeroingAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return std::allocator<T>().allocate(n); }
    void deallocate(T* p, std::size_t n) noexcept {
        sodium_memzero(p, n * sizeof(T));
        std::allocator<T>().deallocate(p, n);
    }
    template <typename U>
    bool operator==(const ZeroingAllocator<U>&) const noexcept {
        return true;
    }
};

class TypedSnapshots {
public:
    TypedSnapshots() = default;
    TypedSnapshots(const TypedSnapshots&) = delete;
    TypedSnapshots& operator=(const TypedSnapshots&) = delete;
    ~TypedSnapshots() { wipe(); }

    // Keeps a copy of `text` and zeroes the caller's string.
    void append(std::string& text);
    // Zeroes and drops every snapshot.
    void wipe();
    size_t size() const { return texts_.size(); }

private:
    using SecretText = std::basic_string<char, std::char_traits<char>, ZeroingAllocator<char>>;
    std::vector<SecretText, ZeroingAllocator<SecretText>> texts_;
};

}  // namespace quarra
