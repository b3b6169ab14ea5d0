#pragma once
// The library's memory bounds, in one place.
#include <chrono>
#include <cstddef>
#include <cstdint>

namespace quarra::limits {

// Most recent entries kept in the service's in-memory journal.
inline constexpr std::size_t kMaxJournalEntries = 1'000;
// Undelivered reports kept for resending (and reports on their first way
// out): at most this many, this many bytes of sealed data, this old. The
// oldest go first.
inline constexpr std::size_t kMaxQueuedEvents = 10'000;
inline constexpr std::uint64_t kMaxQueuedBytes = 16 * 1024 * 1024;
inline constexpr std::chrono::milliseconds kMaxQueuedAge = std::chrono::hours(24 * 7);
// Queued reports a resend pass has on the wire at once: a long queue goes
// out a window at a time, not all in one burst.
inline constexpr std::size_t kResendWindow = 32;
// Fresh reports on their way at once; the others wait in the outbox, on disk,
// so a burst costs memory for this many requests, not for all of them.
inline constexpr std::size_t kMaxReportsInFlight = 128;
// Largest configuration document the cache keeps; a bigger file is not ours.
inline constexpr std::size_t kMaxConfigCacheBytes = 4 * 1024 * 1024;

}  // namespace quarra::limits
