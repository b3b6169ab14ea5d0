#include "device/OfflineReverseGeocoder.hpp"

#include <cmath>
#include <vector>

#include "device/EmbeddedGeoTable.hpp"

namespace quarra {
namespace {

std::optional<std::string> present(std::string_view text) {
    if (text.empty()) return std::nullopt;
    return std::string(text);
}

Placemark placemarkOf(const GeoPlace& place) {
    return Placemark{
        .locality = present(place.locality),
        .administrativeArea = present(place.administrativeArea),
        .country = present(place.country),
        .isoCountryCode = present(place.isoCountryCode),
    };
}

double normalisedLongitude(double longitude) {
    double wrapped = std::fmod(longitude + 180.0, 360.0);
    if (wrapped < 0) wrapped += 360.0;
    return wrapped - 180.0;
}

}  // namespace

struct OfflineReverseGeocoder::State {
    TableLoader loader;
    Reporter reportProblem;
    double maxDistanceKm;
    bool attempted = false;
    std::optional<GeoIndex> index;
    std::string loadError;

    void ensureLoaded() {
        if (attempted) return;
        attempted = true;
        std::string error;
        std::optional<GeoTable> table = loader ? loader(&error) : std::nullopt;
        if (!table) {
            loadError = "Could not load the world cities table: " + (error.empty() ? std::string("no table") : error);
            if (reportProblem) reportProblem(loadError);
            return;
        }
        index.emplace(std::move(*table));
    }
};

OfflineReverseGeocoder::OfflineReverseGeocoder(std::shared_ptr<Executor> queue, TableLoader loader,
                                               Reporter reportProblem, double maxDistanceKm)
    : queue_(std::move(queue)),
      state_(std::make_shared<State>(State{std::move(loader), std::move(reportProblem), maxDistanceKm})) {}

void OfflineReverseGeocoder::preload() {
    queue_->post([state = state_] { state->ensureLoaded(); });
}

void OfflineReverseGeocoder::reverseGeocodeLocation(double latitude, double longitude, Completion completion) {
    queue_->post([state = state_, latitude, longitude, completion = std::move(completion)] {
        if (!completion) return;
        if (!std::isfinite(latitude) || !std::isfinite(longitude) || std::fabs(latitude) > 90.0) {
            completion(std::nullopt, "Invalid coordinate");
            return;
        }
        state->ensureLoaded();
        if (!state->index) {
            completion(std::nullopt, state->loadError);
            return;
        }
        std::vector<Placemark> placemarks;
        auto found = state->index->nearest(latitude, normalisedLongitude(longitude));
        if (found && found->distanceKm <= state->maxDistanceKm) placemarks.push_back(placemarkOf(found->place));
        completion(std::move(placemarks), std::nullopt);
    });
}

std::optional<GeoTable> loadEmbeddedGeoTable(std::string* error) {
    auto bytes = embeddedGeoTable();
    if (bytes.empty()) {
        if (error) *error = "the library was built without the world cities data";
        return std::nullopt;
    }
    return GeoTable::parse(bytes, nullptr, error);
}

}  // namespace quarra
