#pragma once
// How numbers and booleans are kept in an item's data: a self-describing form
// (a three-byte marker, a type tag, the value in little-endian order) so that
// a getter can tell a number it wrote from any other bytes.
//
// Each getter reads its own type. The double getter also reads float items
// (exact widening) and integer items (nearest double), as a number object
// would; every other mismatch, and any bytes not in this form, gives none.
// The string getter likewise gives none for data in this form.
#include <cstdint>
#include <optional>

#include "credentials/SecureItemStore.hpp"

namespace quarra {

SecureBytes encodeStoredNumber(int64_t value);
SecureBytes encodeStoredNumber(float value);
SecureBytes encodeStoredNumber(double value);
SecureBytes encodeStoredBool(bool value);

std::optional<int64_t> decodeStoredInteger(const SecureBytes& data);
std::optional<float> decodeStoredFloat(const SecureBytes& data);
std::optional<double> decodeStoredDouble(const SecureBytes& data);
std::optional<bool> decodeStoredBool(const SecureBytes& data);

// True when `data` is a number or boolean in the form above.
bool isStoredScalar(const SecureBytes& data);

}  // namespace quarra
