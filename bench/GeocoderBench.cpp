// The offline geocoder: loading the built-in world cities table and looking
// places up in it.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "device/GeoIndex.hpp"
#include "device/OfflineReverseGeocoder.hpp"

namespace quarra {
namespace {

GeoIndex loadIndex() {
    auto table = loadEmbeddedGeoTable(nullptr);
    if (!table) throw std::runtime_error("the library was built without the world cities table");
    return GeoIndex(std::move(*table));
}

// Checking the table and building the tree: what the first request pays.
void BM_GeoTableLoad(benchmark::State& state) {
    size_t places = 0, tableBytes = 0, indexBytes = 0;
    for (auto _ : state) {
        GeoIndex index = loadIndex();
        places = index.size();
        tableBytes = index.table().byteSize();
        indexBytes = index.memoryBytes();
        benchmark::DoNotOptimize(index);
    }
    state.counters["places"] = double(places);
    state.counters["table_MiB"] = double(tableBytes) / (1024.0 * 1024.0);  // read-only, inside the library
    state.counters["index_MiB"] = double(indexBytes) / (1024.0 * 1024.0);  // heap, after loading
}
BENCHMARK(BM_GeoTableLoad)->Unit(benchmark::kMillisecond)->Iterations(5);

std::vector<std::pair<double, double>> randomCoordinates(size_t count, bool landish) {
    std::mt19937 random(42);
    // "Landish": the band where most places are, instead of the whole sphere.
    std::uniform_real_distribution<double> latitude(landish ? -40.0 : -90.0, landish ? 60.0 : 90.0),
        longitude(-180.0, 180.0);
    std::vector<std::pair<double, double>> points(count);
    for (auto& point : points) point = {latitude(random), longitude(random)};
    return points;
}

void lookups(benchmark::State& state, bool landish) {
    static const GeoIndex index = loadIndex();
    auto points = randomCoordinates(4096, landish);
    size_t i = 0;
    for (auto _ : state) {
        const auto& [latitude, longitude] = points[i++ % points.size()];
        benchmark::DoNotOptimize(index.nearest(latitude, longitude));
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_GeocoderLookupAnywhere(benchmark::State& state) { lookups(state, false); }
void BM_GeocoderLookupPopulatedBand(benchmark::State& state) { lookups(state, true); }
BENCHMARK(BM_GeocoderLookupAnywhere)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GeocoderLookupPopulatedBand)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quarra
