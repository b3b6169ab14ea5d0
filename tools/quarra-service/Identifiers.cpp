#include "Identifiers.hpp"

#include <fmt/format.h>
#include <fmt/ranges.h>
#include <openssl/rand.h>
#include <uuid/uuid.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <stdexcept>

namespace quarra::service {
namespace {

template <std::size_t N>
std::array<unsigned char, N> randomBytes() {
    std::array<unsigned char, N> bytes{};
    if (RAND_bytes(bytes.data(), static_cast<int>(bytes.size())) != 1) {
        throw std::runtime_error("the random generator failed");
    }
    return bytes;
}

}  // namespace

std::string newUuid() {
    uuid_t id;
    uuid_generate_random(id);
    char text[37];
    uuid_unparse_lower(id, text);
    return text;
}

std::string newToken() {
    auto bytes = randomBytes<32>();
    return fmt::format("{:02x}", fmt::join(bytes, ""));
}

std::string nowTimestamp() {
    using namespace std::chrono;
    auto now = system_clock::now();
    auto seconds = system_clock::to_time_t(now);
    auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[128];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, static_cast<int>(millis));
    return text;
}

}  // namespace quarra::service
