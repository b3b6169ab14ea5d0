#pragma once
// Nearest-place lookup over a world cities table: a 3-d tree of points on the
// unit sphere, so the poles and the antimeridian need no special cases.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "device/GeoTable.hpp"

namespace quarra {

struct NearestPlace {
    GeoPlace place;
    double distanceKm = 0;
};

class GeoIndex {
public:
    // Builds the tree over every place of the table (tens of milliseconds for
    // the full table). The index keeps the table.
    explicit GeoIndex(GeoTable table);

    // The nearest place, or nullopt for an empty table or a coordinate that is
    // not finite. Any longitude is taken modulo 360 degrees.
    std::optional<NearestPlace> nearest(double latitude, double longitude) const;

    size_t size() const { return nodes_.size(); }
    // Heap bytes held by the tree (the table bytes are counted separately).
    size_t memoryBytes() const { return nodes_.capacity() * sizeof(Node); }
    const GeoTable& table() const { return table_; }

private:
    struct Node {
        float point[3];
        uint32_t place;
    };
    void build(size_t begin, size_t end, int depth);
    void search(size_t begin, size_t end, int depth, const float* target, size_t& best, float& bestDistance) const;

    GeoTable table_;
    std::vector<Node> nodes_;  // a balanced tree laid out by median splits
};

// Great-circle distance between two coordinates, in kilometres.
double greatCircleKm(double latitude1, double longitude1, double latitude2, double longitude2);

}  // namespace quarra
