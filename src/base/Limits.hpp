#pragma once
// The library's memory bounds, in one place.
#include <cstddef>

namespace quarra::limits {

// Most recent entries kept in the service's in-memory journal.
inline constexpr std::size_t kMaxJournalEntries = 1'000;
// Undelivered reports kept for resending; the oldest go first when full.
inline constexpr std::size_t kMaxQueuedEvents = 10'000;
// Largest configuration document the cache keeps; a bigger file is not ours.
inline constexpr std::size_t kMaxConfigCacheBytes = 4 * 1024 * 1024;

}  // namespace quarra::limits
