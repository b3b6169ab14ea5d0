#pragma once
// A checked, read-only view of a compact world cities table.
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quarra {

struct GeoPlace {
    std::string_view locality;
    std::string_view administrativeArea;  // empty: none
    std::string_view country;             // empty: unknown
    std::string_view isoCountryCode;
    double latitude = 0;
    double longitude = 0;
};

class GeoTable {
public:
    // Checks every count, offset and index before accepting the bytes, so
    // place() never reads outside them. `owner` keeps the bytes alive (empty
    // for bytes that live as long as the program).
    static std::optional<GeoTable> parse(std::span<const unsigned char> bytes, std::shared_ptr<const void> owner,
                                         std::string* error = nullptr);

    size_t placeCount() const { return placeCount_; }
    GeoPlace place(size_t index) const;
    size_t byteSize() const { return bytes_.size(); }

private:
    std::string_view text(uint32_t offset) const;

    std::span<const unsigned char> bytes_;
    std::shared_ptr<const void> owner_;
    size_t placeCount_ = 0;
    size_t regionCount_ = 0;
    size_t countryCount_ = 0;
    const unsigned char* countries_ = nullptr;
    const unsigned char* regions_ = nullptr;
    const unsigned char* places_ = nullptr;
    const char* strings_ = nullptr;
};

}  // namespace quarra
