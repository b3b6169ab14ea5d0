#pragma once
// Marketing names of the hardware, keyed by the machine identifier.
#include <string>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace quarra {

class DeviceInfo;

// The marketing name of a machine identifier ("iPhone12,5" -> "iPhone 11 Pro
// Max"). Matching is exact and case-sensitive; an identifier that is not in
// the table is returned as it stands.
std::string modelName(std::string_view machineIdentifier);

// The marketing name of the device this process runs on.
std::string modelName(const DeviceInfo& device);

// The whole table, (identifier, name) in table order.
std::span<const std::pair<std::string_view, std::string_view>> modelTable();

}  // namespace quarra
