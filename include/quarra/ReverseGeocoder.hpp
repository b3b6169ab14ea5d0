#pragma once
/**
 * @file
 * @brief The reverse-geocoding seam: place names for a coordinate.
 */
#include <quarra/Export.hpp>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quarra {

/**
 * @brief One place found for a coordinate; any text may be absent.
 *
 * @par Thread
 * Any thread; it shares nothing.
 * @par Lifetime
 * A value type; copy freely.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API Placemark {
    std::optional<std::string> locality;            ///< City or town.
    std::optional<std::string> administrativeArea;  ///< State, province, region.
    std::optional<std::string> country;             ///< The country's name.
    std::optional<std::string> isoCountryCode;      ///< ISO 3166-1 alpha-2.
    /// Memberwise equality.
    bool operator==(const Placemark&) const = default;
};

/**
 * @brief Finds the places at a coordinate, for DataCollectorService::sendLocationData().
 *
 * The library's default looks the coordinate up in an offline table of the
 * world's cities; a host may give its own as Options::reverseGeocoder.
 *
 * @par Thread
 * The library calls reverseGeocodeLocation() on its worker. The completion
 * may run on any thread; the library takes the answer back to its worker.
 * @par Lifetime
 * The library keeps the geocoder for the rest of the process. The geocoder
 * keeps each completion until it has called it.
 * @par Blocking
 * reverseGeocodeLocation() must not block its caller (the library's worker).
 */
class QUARRA_API ReverseGeocoder {
public:
    /**
     * @brief The answer to one request: the places found (nearest first; empty when there is none) or an error text.
     *
     * Exactly one call per request. It runs on whatever thread the geocoder
     * answers on (the library's offline geocoder answers on the library's
     * worker). Until it runs, the location report waits (and
     * DataCollectorService::flush() with it).
     */
    using Completion =
        std::function<void(std::optional<std::vector<Placemark>> placemarks, std::optional<std::string> error)>;

    /// Destroyed by whoever holds the last reference.
    virtual ~ReverseGeocoder() = default;
    /**
     * @brief Looks up the places at latitude and longitude, in degrees.
     *
     * @par Thread
     * Called on the library's worker; `completion` may run on any thread.
     * @par Lifetime
     * The geocoder keeps `completion` until it has called it, exactly once.
     * @par Blocking
     * Never blocks the caller.
     */
    virtual void reverseGeocodeLocation(double latitude, double longitude, Completion completion) = 0;
};

}  // namespace quarra
