#pragma once
// Files only this user may read: the secure store's directory and database.
#include <filesystem>
#include <optional>
#include <string>

namespace quarra {

// Creates `directory` and any missing parent with mode 0700 (existing parents
// are left as they are). An existing `directory` that others may enter is
// tightened to 0700 when this user owns it, and refused otherwise: the
// library keeps secrets and reports there. The error, when it fails.
std::optional<std::string> makePrivateDirectory(const std::filesystem::path& directory);

// Creates an empty file with mode 0600 when it does not exist, so that a
// library creating it later cannot give it wider permissions.
std::optional<std::string> touchPrivateFile(const std::filesystem::path& path);

}  // namespace quarra
