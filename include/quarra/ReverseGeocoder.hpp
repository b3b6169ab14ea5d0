#pragma once
// The reverse-geocoding seam: place names for a coordinate.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quarra {

// One place found for a coordinate; any text may be absent.
struct Placemark {
    std::optional<std::string> locality;            // city or town
    std::optional<std::string> administrativeArea;  // state, province, region
    std::optional<std::string> country;
    std::optional<std::string> isoCountryCode;      // ISO 3166-1 alpha-2
    bool operator==(const Placemark&) const = default;
};

class ReverseGeocoder {
public:
    // Exactly one call per request: the places found (nearest first; empty
    // when there is none) or an error text. Runs on whatever thread the
    // geocoder answers on (the library's offline geocoder answers on the
    // library's worker); the library takes the answer back to its worker.
    using Completion =
        std::function<void(std::optional<std::vector<Placemark>> placemarks, std::optional<std::string> error)>;

    virtual ~ReverseGeocoder() = default;
    // Latitude and longitude in degrees. Never blocks the caller.
    virtual void reverseGeocodeLocation(double latitude, double longitude, Completion completion) = 0;
};

}  // namespace quarra
