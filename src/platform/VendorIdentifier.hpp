#pragma once
// The per-installation device identifier: a random UUID made once and kept
// in the secure store, so that it stays the same for every run.
#include <optional>
#include <string>
#include <string_view>

namespace quarra {

class KeychainWrapper;

// A fresh random (version 4) UUID in upper case: "XXXXXXXX-XXXX-4XXX-YXXX-XXXXXXXXXXXX".
std::string makeRandomUUID();

// True for 36 characters of hexadecimal digits with hyphens at 8, 13, 18 and 23.
bool isUUIDText(std::string_view text);

// The identifier stored under `key`, upper-cased; a new one is made and
// stored when there is none or the stored text is not a UUID. When the store
// cannot keep it, the new identifier is still returned; none only when the
// system cannot make random numbers.
std::optional<std::string> loadOrCreateVendorIdentifier(KeychainWrapper& keychain, const std::string& key);

}  // namespace quarra
