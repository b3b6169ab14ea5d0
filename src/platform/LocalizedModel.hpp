#pragma once
// The device's kind as a short text ("Laptop", "Desktop", ...), the Linux
// stand-in for the localised model shown in the no-accelerometer message.
#include <filesystem>
#include <string>

namespace quarra {

// From the DMI chassis type under `root`; "Computer" when it is unknown.
std::string localizedModel(const std::filesystem::path& root = "/");

}  // namespace quarra
