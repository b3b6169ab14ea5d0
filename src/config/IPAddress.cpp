#include <ifaddrs.h>
#include <netdb.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>

#include "config/SessionConfigServices.hpp"

namespace quarra {

std::optional<std::string> getIPAddress(const std::vector<std::string>& interfaceNames) {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0 || list == nullptr) return std::nullopt;
    std::optional<std::string> address;
    for (ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_name == nullptr) continue;
        const int family = entry->ifa_addr->sa_family;
        if (family != AF_INET && family != AF_INET6) continue;
        if (std::find(interfaceNames.begin(), interfaceNames.end(), entry->ifa_name) == interfaceNames.end()) continue;
        std::array<char, 1025> host{};
        const socklen_t length = family == AF_INET ? sizeof(sockaddr_in) : sizeof(sockaddr_in6);
        if (getnameinfo(entry->ifa_addr, length, host.data(), host.size(), nullptr, 0, NI_NUMERICHOST) == 0) {
            address = host.data();  // the last match wins
        }
    }
    freeifaddrs(list);
    return address;
}

}  // namespace quarra
