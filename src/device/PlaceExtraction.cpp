#include "device/PlaceExtraction.hpp"

namespace quarra {

void extractPlace(const std::optional<std::vector<Placemark>>& placemarks, const std::optional<std::string>& /*error*/,
                  const std::function<void(const PlaceDetails&)>& callback) {
    if (!callback) return;
    if (placemarks && !placemarks->empty()) {
        const Placemark& first = placemarks->front();
        callback(PlaceDetails{first.locality, first.administrativeArea, first.country, first.isoCountryCode});
        return;
    }
    callback(PlaceDetails{});
}

}  // namespace quarra
