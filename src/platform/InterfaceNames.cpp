#include "platform/InterfaceNames.hpp"

#include <ifaddrs.h>
#include <net/if.h>

#include <algorithm>

namespace quarra {

std::vector<std::string> activeInterfaceNames() {
    std::vector<std::string> names;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return names;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_name || !(entry->ifa_flags & IFF_UP) || (entry->ifa_flags & IFF_LOOPBACK)) continue;
        std::string name(entry->ifa_name);
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
    }
    freeifaddrs(list);
    return names;
}

}  // namespace quarra
