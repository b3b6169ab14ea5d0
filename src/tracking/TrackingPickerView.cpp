#include <quarra/tracking/TrackingPickerView.hpp>

#include <quarra/tracking/FieldTags.hpp>

#include "base/Timestamps.hpp"
#include "tracking/FieldTrackingInformation.hpp"
#include "tracking/ReportCompletion.hpp"
#include "tracking/TrackingContext.hpp"

namespace quarra {
namespace {

constexpr std::string_view kBadTagMessage =
    "fieldTag should be something declared in the FieldTags enum, please check FieldTags for more information";

}  // namespace

TrackingPickerView::TrackingPickerView(std::shared_ptr<const TrackingContext> context)
    : context_(std::move(context)), alive_(makeLivenessToken()) {}

TrackingPickerView::~TrackingPickerView() = default;

void TrackingPickerView::setHidden(bool hidden) {
    hidden_ = hidden;
    if (hidden) {
        endPeriod();
    } else {
        beginPeriod();
    }
}

void TrackingPickerView::willMoveToSuperview(bool hasSuperview) {
    if (!hasSuperview) {
        endPeriod();
    } else if (!hidden_) {
        beginPeriod();
    }
}

bool TrackingPickerView::tagIsKnown() {
    if (fieldTagsFromRawValue(fieldTag_)) return true;
    if (!toldBadTag_) {
        toldBadTag_ = true;
        reportHostConfigurationError(*context_->console, "Ortex/TrackingPickerView", kBadTagMessage);
    }
    return false;
}

void TrackingPickerView::beginPeriod() {
    if (!tagIsKnown()) return;
    timeSpentBeginDate_ = context_->now();
}

void TrackingPickerView::endPeriod() {
    if (!timeSpentBeginDate_) return;
    const auto begin = *timeSpentBeginDate_;
    const auto end = context_->now();
    timeSpentEndDate_ = end;
    timeSpentBeginDate_.reset();
    context_->console->print("DO== " + std::string(context_->orientationText()));
    // The tag was checked when the period began; the host may have changed it since.
    if (!tagIsKnown()) return;

    JSONDictionary dictionary = {
        {"element", fieldTag_},
        {"time", formatLocalTimestamp(begin)},
        {"duration", std::to_string(elapsedMilliseconds(begin, end))},
        {"kpm", "0"},
        {"keystrokes", "0"},
        {"lastAction", "touchscreen"},
        {"firstAction", "touchscreen"},
        {"clicks", "1"},
    };
    const auto event = context_->values->currentUserEvent;
    if (event != UserEventType::None) dictionary["userEventTypeCode"] = std::to_string(rawValue(event));
    context_->sendActivityStream(std::move(dictionary),
                                 sentLineCompletion(alive_, context_->console, "TrackingPickerView", fieldTag_));
}

void TrackingPickerView::touchesMoved(const std::vector<Touch>& touches) {
    if (touches.empty()) return;
    touchForce_ = touches.front().force;
    touchPosition_ = touches.front().location;
}

}  // namespace quarra
