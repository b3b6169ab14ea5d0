#pragma once
/**
 * @file
 * @brief What the tracking controls hand their reports to: the library's
 * collector, or a sender of the host's own (see makeTrackingContext()).
 */
#include <quarra/Export.hpp>
#include <functional>

#include <quarra/Json.hpp>

namespace quarra {

/**
 * @brief Receives the tracking controls' reports.
 *
 * The library's collector is one; a host's tests may give their own to
 * makeTrackingContext() to see what a screen sends.
 *
 * @par Thread
 * Called on the library's worker, one report at a time. Completions may be
 * called on any thread, at most once each.
 * @par Lifetime
 * A context made by makeTrackingContext() keeps its sender alive as long as
 * the context lives (every control holds its context).
 * @par Blocking
 * Members should return quickly: they run on the library's worker.
 */
class QUARRA_API ReportSender {
public:
    /// Told whether the report was accepted.
    using BoolCompletion = std::function<void(bool)>;
    /// Destroyed by whoever holds the last reference.
    virtual ~ReportSender() = default;
    /// A user-events report (taps, screen visits). Worker; the completion may be empty.
    virtual void sendUserEvents(JSONDictionary data, BoolCompletion completion = {}) = 0;
    /// An activity-stream report (editing and picker periods). Worker; the completion may be empty.
    virtual void sendActivityStream(JSONDictionary data, BoolCompletion completion = {}) = 0;
    /// An accelerometer report. Worker; the completion may be empty.
    virtual void sendAccelerometerData(JSONDictionary data, BoolCompletion completion = {}) = 0;
};

}  // namespace quarra
