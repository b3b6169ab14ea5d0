// The fast writer must write exactly what the JSON library's writer writes
// (with "/" escaped), or leave the value to it.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

#include "base/CompactJsonWriter.hpp"
#include "base/JsonText.hpp"

namespace quarra {
namespace {

// What reports were always written as: the library's compact text, every "/" escaped.
std::string referenceText(const JSONDictionary& value) {
    std::string out;
    for (const char c : value.dump()) {
        if (c == '/') out += '\\';
        out += c;
    }
    return out;
}

class RandomValues {
public:
    JSONDictionary value(int depth) {
        switch (pick(depth > 0 ? 8 : 6)) {
            case 0: return nullptr;
            case 1: return pick(2) == 0;
            case 2: return integer();
            case 3: return std::numeric_limits<uint64_t>::max() - pick(1000);
            case 4: return number();
            case 5: return text();
            case 6: {
                JSONDictionary array = JSONDictionary::array();
                for (int i = pick(5); i > 0; --i) array.push_back(value(depth - 1));
                return array;
            }
            default: {
                JSONDictionary object = JSONDictionary::object();
                for (int i = pick(6); i > 0; --i) object[text()] = value(depth - 1);
                return object;
            }
        }
    }

private:
    int pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(random_); }

    int64_t integer() {
        const int64_t edges[] = {0, -1, 1, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()};
        if (pick(4) == 0) return edges[pick(5)];
        return std::uniform_int_distribution<int64_t>(-1'000'000'000'000, 1'000'000'000'000)(random_);
    }

    double number() {
        switch (pick(5)) {
            case 0: return pick(2000) / 10.0 - 100;  // taps' positions and forces
            case 1: return static_cast<double>(pick(1000));  // whole numbers keep a ".0"
            case 2: {
                const double edges[] = {-0.0, 5e-324, 2.2250738585072014e-308, 1e21, 1e-7, 1.7976931348623157e308};
                return edges[pick(6)];
            }
            default: {
                // Any finite double, from its bits.
                for (;;) {
                    const double any = std::bit_cast<double>(std::uniform_int_distribution<uint64_t>()(random_));
                    if (std::isfinite(any)) return any;
                }
            }
        }
    }

    std::string text() {
        // Every ASCII byte, control characters, quotes, slashes and backslashes included.
        std::string out;
        for (int i = pick(12); i > 0; --i) out += static_cast<char>(pick(4) == 0 ? pick(128) : "ab/\"\\ 9_"[pick(8)]);
        return out;
    }

    std::mt19937_64 random_{20261208};
};

TEST(CompactJsonWriter, WritesWhatTheLibraryWritesForAnyASCIIValue) {
    RandomValues values;
    for (int i = 0; i < 3000; ++i) {
        const JSONDictionary value = values.value(3);
        std::string written;
        ASSERT_TRUE(appendCompactJSON(written, value)) << value.dump();
        ASSERT_EQ(written, referenceText(value));
        ASSERT_EQ(compactJSON(value), referenceText(value));
    }
}

// Non-ASCII text is checked as UTF-8 by the library's writer; non-finite
// numbers and binary values are its to refuse or write.
TEST(CompactJsonWriter, LeavesWhatItDoesNotWriteToTheLibrary) {
    const std::pair<const char*, JSONDictionary> handedOver[] = {
        {"UTF-8 text", JSONDictionary{{"city", "S\xc3\xa3o Paulo/Centro"}}},
        {"UTF-8 key", JSONDictionary{{"caf\xc3\xa9", 1}}},
        {"binary", JSONDictionary::binary({1, 2, 3})},
    };
    for (const auto& [name, value] : handedOver) {
        std::string written;
        EXPECT_FALSE(appendCompactJSON(written, value)) << name;
        EXPECT_EQ(compactJSON(value), referenceText(value)) << name;
    }
    const std::pair<const char*, JSONDictionary> refused[] = {
        {"invalid UTF-8", JSONDictionary{{"a", "\xff/"}}},
        {"NaN", JSONDictionary{{"a", {1, std::numeric_limits<double>::quiet_NaN()}}}},
        {"infinity", JSONDictionary{{"a", -std::numeric_limits<double>::infinity()}}},
    };
    for (const auto& [name, value] : refused) {
        std::string written;
        EXPECT_FALSE(appendCompactJSON(written, value)) << name;
        EXPECT_FALSE(compactJSON(value).has_value()) << name;
    }
}

}  // namespace
}  // namespace quarra
