#pragma once
// A reverse geocoder that answers at once with the places it was given.
#include <mutex>
#include <vector>

#include <quarra/ReverseGeocoder.hpp>

namespace quarra::testing {

class ScriptedGeocoder final : public ReverseGeocoder {
public:
    void reverseGeocodeLocation(double latitude, double longitude, Completion completion) override {
        std::optional<std::vector<Placemark>> answer;
        {
            std::lock_guard lock(mutex_);
            asked_.emplace_back(latitude, longitude);
            answer = places_;
        }
        completion(answer, answer ? std::nullopt : std::optional<std::string>("no result"));
    }
    void answer(std::optional<std::vector<Placemark>> places) {
        std::lock_guard lock(mutex_);
        places_ = std::move(places);
    }
    std::vector<std::pair<double, double>> asked() const {
        std::lock_guard lock(mutex_);
        return asked_;
    }

private:
    mutable std::mutex mutex_;
    std::optional<std::vector<Placemark>> places_;
    std::vector<std::pair<double, double>> asked_;
};

}  // namespace quarra::testing
