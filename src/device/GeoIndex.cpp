#include "device/GeoIndex.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quarra {
namespace {

constexpr double kEarthRadiusKm = 6371.0088;

void toUnitVector(double latitude, double longitude, float* out) {
    double phi = latitude * std::numbers::pi / 180.0;
    double lambda = longitude * std::numbers::pi / 180.0;
    out[0] = static_cast<float>(std::cos(phi) * std::cos(lambda));
    out[1] = static_cast<float>(std::cos(phi) * std::sin(lambda));
    out[2] = static_cast<float>(std::sin(phi));
}

float squaredDistance(const float* a, const float* b) {
    float dx = a[0] - b[0], dy = a[1] - b[1], dz = a[2] - b[2];
    return dx * dx + dy * dy + dz * dz;
}

}  // namespace

GeoIndex::GeoIndex(GeoTable table) : table_(std::move(table)) {
    nodes_.resize(table_.placeCount());
    for (size_t i = 0; i < nodes_.size(); ++i) {
        GeoPlace place = table_.place(i);
        toUnitVector(place.latitude, place.longitude, nodes_[i].point);
        nodes_[i].place = static_cast<uint32_t>(i);
    }
    build(0, nodes_.size(), 0);
}

void GeoIndex::build(size_t begin, size_t end, int depth) {
    // Iterate on the right half and recurse on the left: the depth stays
    // logarithmic whatever the table size.
    while (end - begin > 1) {
        size_t middle = begin + (end - begin) / 2;
        int axis = depth % 3;
        std::nth_element(nodes_.begin() + long(begin), nodes_.begin() + long(middle), nodes_.begin() + long(end),
                         [axis](const Node& a, const Node& b) { return a.point[axis] < b.point[axis]; });
        build(begin, middle, depth + 1);
        begin = middle + 1;
        ++depth;
    }
}

void GeoIndex::search(size_t begin, size_t end, int depth, const float* target, size_t& best,
                      float& bestDistance) const {
    while (begin < end) {
        size_t middle = begin + (end - begin) / 2;
        const Node& node = nodes_[middle];
        float distance = squaredDistance(node.point, target);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = middle;
        }
        int axis = depth % 3;
        float delta = target[axis] - node.point[axis];
        size_t nearBegin = delta < 0 ? begin : middle + 1, nearEnd = delta < 0 ? middle : end;
        size_t farBegin = delta < 0 ? middle + 1 : begin, farEnd = delta < 0 ? end : middle;
        search(nearBegin, nearEnd, depth + 1, target, best, bestDistance);
        if (delta * delta >= bestDistance) return;
        begin = farBegin;
        end = farEnd;
        ++depth;
    }
}

std::optional<NearestPlace> GeoIndex::nearest(double latitude, double longitude) const {
    if (nodes_.empty() || !std::isfinite(latitude) || !std::isfinite(longitude)) return std::nullopt;
    latitude = std::clamp(latitude, -90.0, 90.0);
    float target[3];
    toUnitVector(latitude, longitude, target);
    size_t best = 0;
    float bestDistance = INFINITY;
    search(0, nodes_.size(), 0, target, best, bestDistance);
    GeoPlace place = table_.place(nodes_[best].place);
    return NearestPlace{place, greatCircleKm(latitude, longitude, place.latitude, place.longitude)};
}

double greatCircleKm(double latitude1, double longitude1, double latitude2, double longitude2) {
    constexpr double toRadians = std::numbers::pi / 180.0;
    double phi1 = latitude1 * toRadians, phi2 = latitude2 * toRadians;
    double dPhi = phi2 - phi1, dLambda = (longitude2 - longitude1) * toRadians;
    double h = std::sin(dPhi / 2) * std::sin(dPhi / 2) +
               std::cos(phi1) * std::cos(phi2) * std::sin(dLambda / 2) * std::sin(dLambda / 2);
    return 2 * kEarthRadiusKm * std::asin(std::min(1.0, std::sqrt(h)));
}

}  // namespace quarra
