// Build-time converter: turns the GeoNames-derived cities list, its
// first-level administrative divisions and the country names into the
// compact world cities table that is built into the library.
//
// Usage: quarra-geo-table-builder CITIES_JSON ADMIN1_JSON COUNTRIES_JSON OUTPUT
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "device/GeoTableWriter.hpp"

namespace {

nlohmann::json readJSON(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(std::string("cannot open ") + path);
    return nlohmann::json::parse(in);
}

std::optional<double> number(const nlohmann::json& value) {
    if (value.is_number()) return value.get<double>();
    if (!value.is_string()) return std::nullopt;
    const auto& text = value.get_ref<const std::string&>();
    double result = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return result;
}

std::string text(const nlohmann::json& object, const char* key) {
    auto it = object.find(key);
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

int run(char** argv) {
    auto cities = readJSON(argv[1]);
    auto admin1 = readJSON(argv[2]);
    auto countryNames = readJSON(argv[3]);

    std::map<std::string, std::string> regionNames;  // "IN.07" -> "Delhi"
    for (const auto& region : admin1) regionNames[text(region, "code")] = text(region, "name");

    std::vector<quarra::GeoTableEntry> entries;
    size_t skipped = 0;
    for (const auto& city : cities) {
        auto latitude = number(city.value("lat", nlohmann::json()));
        auto longitude = number(city.value("lng", nlohmann::json()));
        std::string iso = text(city, "country");
        std::string name = text(city, "name");
        if (!latitude || !longitude || iso.empty() || name.empty()) {
            ++skipped;
            continue;
        }
        quarra::GeoTableEntry entry{.locality = name, .isoCountryCode = iso, .latitude = *latitude, .longitude = *longitude};
        if (auto region = regionNames.find(iso + "." + text(city, "admin1")); region != regionNames.end()) {
            entry.administrativeArea = region->second;
        }
        entry.country = text(countryNames, iso.c_str());
        entries.push_back(std::move(entry));
    }

    std::string error;
    auto table = quarra::writeGeoTable(entries, &error);
    if (!table) throw std::runtime_error(error);
    std::ofstream out(argv[4], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(table->data()), std::streamsize(table->size()));
    if (!out) throw std::runtime_error(std::string("cannot write ") + argv[4]);
    std::cout << "world cities table: " << entries.size() << " places (" << skipped << " skipped), "
              << table->size() << " bytes\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: " << argv[0] << " CITIES_JSON ADMIN1_JSON COUNTRIES_JSON OUTPUT\n";
        return 2;
    }
    try {
        return run(argv);
    } catch (const std::exception& error) {
        std::cerr << "geo table: " << error.what() << "\n";
        std::remove(argv[4]);
        return 1;
    }
}
