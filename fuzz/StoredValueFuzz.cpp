// Any bytes as a secure store item's data: the number and boolean getters
// must never crash; whatever one of them reads must be written back as the
// very same bytes; and the string getter gives the bytes back only when they
// are UTF-8 text and not in the number form.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include <quarra/KeychainWrapper.hpp>
#include <quarra/testing/MemorySecureItemStore.hpp>

#include "FuzzSupport.hpp"
#include "credentials/KeychainValueCoding.hpp"

namespace {

template <typename T>
uint64_t bitsOf(T value) {
    if constexpr (sizeof(T) == 4) {
        return std::bit_cast<uint32_t>(value);
    } else {
        return std::bit_cast<uint64_t>(value);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quarra;
    const SecureBytes bytes(data, data + size);

    const auto integer = decodeStoredInteger(bytes);
    const auto single = decodeStoredFloat(bytes);
    const auto number = decodeStoredDouble(bytes);
    const auto flag = decodeStoredBool(bytes);
    if (integer && encodeStoredNumber(*integer) != bytes) __builtin_trap();
    if (single && encodeStoredNumber(*single) != bytes) __builtin_trap();
    if (flag && encodeStoredBool(*flag) != bytes) __builtin_trap();
    if (number) {
        // A double item, or a float or an integer read as a double.
        if (single) {
            if (bitsOf(*number) != bitsOf(static_cast<double>(*single))) __builtin_trap();
        } else if (integer) {
            if (bitsOf(*number) != bitsOf(static_cast<double>(*integer))) __builtin_trap();
        } else if (encodeStoredNumber(*number) != bytes) {
            __builtin_trap();
        }
    } else if (single || integer) {
        __builtin_trap();
    }
    if (int(integer.has_value()) + int(single.has_value()) + int(flag.has_value()) > 1) __builtin_trap();
    const bool scalar = number.has_value() || flag.has_value();
    if (isStoredScalar(bytes) != scalar) __builtin_trap();

    // The same bytes read through the wrapper, as the library reads its items.
    KeychainWrapper keychain("fuzz", std::nullopt, std::make_shared<MemorySecureItemStore>());
    if (!keychain.set(KeychainWrapper::Bytes(bytes.begin(), bytes.end()), "item")) __builtin_trap();
    if (keychain.data("item") != KeychainWrapper::Bytes(bytes.begin(), bytes.end())) __builtin_trap();
    if (keychain.integer("item") != integer || keychain.boolValue("item") != flag) __builtin_trap();
    auto readSingle = keychain.floatValue("item");
    auto readNumber = keychain.doubleValue("item");
    if (readSingle.has_value() != single.has_value() || (single && bitsOf(*readSingle) != bitsOf(*single))) {
        __builtin_trap();
    }
    if (readNumber.has_value() != number.has_value() || (number && bitsOf(*readNumber) != bitsOf(*number))) {
        __builtin_trap();
    }
    const std::string text(bytes.begin(), bytes.end());
    const bool readsAsText = !scalar && fuzzing::wellFormedUtf8(text);
    if (keychain.string("item") != (readsAsText ? std::optional<std::string>(text) : std::nullopt)) __builtin_trap();
    return 0;
}
