#include "platform/LocalizedModel.hpp"

#include "platform/SysfsText.hpp"

namespace quarra {

std::string localizedModel(const std::filesystem::path& root) {
    auto chassis = readNumberFile(root / "sys/class/dmi/id/chassis_type");
    switch (chassis ? static_cast<int>(*chassis) : 0) {
        case 3: case 4: case 5: case 6: case 7: case 13: case 15: case 16: case 24: case 35: case 36:
            return "Desktop";
        case 8: case 9: case 10: case 14: case 31: case 32:
            return "Laptop";
        case 11:
            return "Handheld";
        case 30:
            return "Tablet";
        case 17: case 23: case 28: case 29:
            return "Server";
        default:
            return "Computer";
    }
}

}  // namespace quarra
