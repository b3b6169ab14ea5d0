#include <quarra/tracking/QuarraTextWatcher.hpp>

#include <string>

#include "tracking/AdopterSearch.hpp"
#include "tracking/FieldTrackingInformation.hpp"
#include "tracking/ReportCompletion.hpp"
#include "tracking/TrackingContext.hpp"

namespace quarra {

QuarraTextWatcher::QuarraTextWatcher(std::shared_ptr<const TrackingContext> context)
    : context_(std::move(context)), alive_(makeLivenessToken()) {}

QuarraTextWatcher::~QuarraTextWatcher() { stopTracking(); }

void QuarraTextWatcher::startTracking() {
    // A second registration would count every change twice and report every
    // period twice.
    if (isTracking()) return;
    using Name = TextEditingNotificationName;
    auto& centre = *context_->notifications;
    auto begin = [this](const auto& n) { textFieldDidBeginEditingNotification(n); };
    auto change = [this](const auto& n) { textFieldTextDidChange(n); };
    auto end = [this](const auto& n) { textFieldDidEndEditingNotification(n); };
    tokens_ = {
        centre.addObserver(Name::textFieldDidBeginEditing, begin),
        centre.addObserver(Name::textFieldDidChange, change),
        centre.addObserver(Name::textFieldDidEndEditing, end),
        centre.addObserver(Name::textViewDidBeginEditing, begin),
        centre.addObserver(Name::textViewDidChange, change),
        centre.addObserver(Name::textViewDidEndEditing, end),
    };
}

void QuarraTextWatcher::stopTracking() {
    for (auto token : tokens_) context_->notifications->removeObserver(token);
    tokens_.clear();
}

void QuarraTextWatcher::textFieldDidBeginEditingNotification(const TextEditingNotification& notification) {
    trackingField_ = findFieldTrackingAdopter(notification.object);
    if (!trackingField_) return;
    numberOfCharsTyped_ = 0;
    numberOfTaps_ = 1;
    typingSpeedBeginDate_.reset();
    timeSpentBeginDate_ = context_->now();
}

void QuarraTextWatcher::textFieldTextDidChange(const TextEditingNotification&) {
    if (!trackingField_) return;
    if (!typingSpeedBeginDate_) typingSpeedBeginDate_ = context_->now();
    ++numberOfCharsTyped_;
}

void QuarraTextWatcher::textFieldDidEndEditingNotification(const TextEditingNotification&) {
    if (!trackingField_) return;
    const auto now = context_->now();
    const FieldTags tag = trackingField_->fieldTag();
    FieldTrackingInformation information{
        .timeSpentBeginDate = timeSpentBeginDate_.value_or(now),
        .timeSpentEndDate = now,
        .typingSpeedBeginDate = typingSpeedBeginDate_,
        .typingSpeedEndDate = now,
        .numberOfTaps = numberOfTaps_,
        .numberOfCharsTyped = numberOfCharsTyped_,
        .fieldTagString = std::string(rawValue(tag)),
        .userEvent = context_->values->currentUserEvent,
    };
    auto dictionary = information.dictionaryRepresentation();
    if (rawValue(tag) == rawValue(FieldTags::None)) {
        context_->console->log("TrackingField fieldTag is \"None\", skip reporting");
        return;
    }
    context_->sendActivityStream(std::move(dictionary), sentLineCompletion(alive_, context_->console, "TrackingField",
                                                                           std::string(rawValue(tag))));
}

}  // namespace quarra
