#pragma once
// Reverse geocoding without a network: the nearest place of the world cities
// table, loaded on first use on the geocoder's own queue.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <quarra/Executor.hpp>
#include <quarra/ReverseGeocoder.hpp>

#include "device/GeoIndex.hpp"

namespace quarra {

class OfflineReverseGeocoder final : public ReverseGeocoder {
public:
    // Produces the table, or nullopt with a reason; called once, on the queue.
    using TableLoader = std::function<std::optional<GeoTable>(std::string* error)>;
    using Reporter = std::function<void(const std::string& message)>;

    // Places farther than this from the coordinate are not reported: the open
    // sea and the polar caps get no placemark rather than a far-away town.
    static constexpr double kDefaultMaxDistanceKm = 150.0;

    OfflineReverseGeocoder(std::shared_ptr<Executor> queue, TableLoader loader, Reporter reportProblem = {},
                           double maxDistanceKm = kDefaultMaxDistanceKm);

    // Answers on the geocoder's queue: one placemark, none, or an error for a
    // coordinate that is not a place on Earth or a table that did not load.
    void reverseGeocodeLocation(double latitude, double longitude, Completion completion) override;

    // Loads the table now (on the queue) instead of at the first request.
    void preload();

private:
    struct State;
    std::shared_ptr<Executor> queue_;
    std::shared_ptr<State> state_;  // touched on queue_ only
};

// The table built into the library.
std::optional<GeoTable> loadEmbeddedGeoTable(std::string* error);

}  // namespace quarra
