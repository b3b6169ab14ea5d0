#pragma once
// Place names from a reverse-geocoding answer, for the location report.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <quarra/ReverseGeocoder.hpp>

namespace quarra {

struct PlaceDetails {
    std::optional<std::string> locality;
    std::optional<std::string> administrativeArea;  // reported as the location's "state"
    std::optional<std::string> country;
    std::optional<std::string> isoCountryCode;
    bool operator==(const PlaceDetails&) const = default;
};

// Calls `callback` (when given) once, on the caller's thread, with the first
// placemark's four texts, or all absent when there is no placemark. The
// error plays no part: a failed lookup reads as "no place".
void extractPlace(const std::optional<std::vector<Placemark>>& placemarks, const std::optional<std::string>& error,
                  const std::function<void(const PlaceDetails&)>& callback);

}  // namespace quarra
