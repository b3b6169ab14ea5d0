#include <quarra/tracking/TrackingTextField.hpp>

#include <quarra/tracking/FieldTags.hpp>

#include "base/DecimalText.hpp"
#include "tracking/FieldTrackingInformation.hpp"
#include "tracking/ReportCompletion.hpp"
#include "tracking/TouchText.hpp"
#include "tracking/TrackingContext.hpp"
#include "tracking/TypedSnapshots.hpp"

namespace quarra {
namespace {

constexpr std::string_view kBadTagMessage =
    "fieldTag should be something declared in the FieldTags enum, please check FieldTags for more information";

}  // namespace

void FieldPeriodFacts::send(ReportSender& reports) {
    reports.sendActivityStream(information.dictionaryRepresentation(),
                               sentLineCompletion(control.lock(), console, "TrackingTextField", information.fieldTagString));
}

TrackingTextField::TrackingTextField(Host& host, std::shared_ptr<const TrackingContext> context)
    : host_(host),
      context_(std::move(context)),
      alive_(makeLivenessToken()),
      allTextTypedStrings_(std::make_unique<TypedSnapshots>()) {
    registerObservers();
}

TrackingTextField::~TrackingTextField() { unregisterObservers(); }

size_t TrackingTextField::typedSnapshotCount() const { return allTextTypedStrings_->size(); }

void TrackingTextField::registerObservers() {
    auto& centre = *context_->notifications;
    tokens_.push_back(centre.addObserver(TextEditingNotificationName::textFieldDidBeginEditing,
                                         [this](const auto& n) { textFieldDidBeginEditingNotification(n); }));
    tokens_.push_back(centre.addObserver(TextEditingNotificationName::textFieldDidChange,
                                         [this](const auto& n) { textFieldTextDidChange(n); }));
    tokens_.push_back(centre.addObserver(TextEditingNotificationName::textFieldDidEndEditing,
                                         [this](const auto& n) { textFieldDidEndEditingNotification(n); }));
}

void TrackingTextField::unregisterObservers() {
    for (auto token : tokens_) context_->notifications->removeObserver(token);
    tokens_.clear();
}

void TrackingTextField::willMoveToWindow(bool hasWindow) {
    unregisterObservers();
    if (hasWindow) registerObservers();
}

void TrackingTextField::editingDidBegin() {
    context_->notifications->post({TextEditingNotificationName::textFieldDidBeginEditing, &host_});
}

void TrackingTextField::textDidChange() {
    context_->notifications->post({TextEditingNotificationName::textFieldDidChange, &host_});
}

void TrackingTextField::editingDidEnd() {
    context_->notifications->post({TextEditingNotificationName::textFieldDidEndEditing, &host_});
}

bool TrackingTextField::tagIsKnown() {
    if (fieldTagsFromRawValue(fieldTag_)) return true;
    if (!toldBadTag_) {
        toldBadTag_ = true;
        reportHostConfigurationError(*context_->console, "Ortex/TrackingTextField", kBadTagMessage);
    }
    return false;
}

void TrackingTextField::textFieldDidBeginEditingNotification(const TextEditingNotification&) {
    // Every field hears every begin; only the one with the focus starts a period.
    if (!host_.isEditing()) return;
    if (!tagIsKnown()) return;
    numberOfTaps_ = 1;
    timeSpentBeginDate_ = context_->now();
    shouldEndEditing_ = true;
}

void TrackingTextField::textFieldTextDidChange(const TextEditingNotification&) {
    if (!shouldEndEditing_) return;
    if (!typingSpeedBeginDate_) typingSpeedBeginDate_ = context_->now();
    ++numberOfCharsTyped_;
    std::string text = host_.text();
    allTextTypedStrings_->append(text);
}

void TrackingTextField::textFieldDidEndEditingNotification(const TextEditingNotification&) {
    if (!shouldEndEditing_) return;
    const auto now = context_->now();
    timeSpentEndDate_ = now;
    typingSpeedEndDate_ = now;

    const std::string_view orientation = context_->orientationText();
    FieldTrackingInformation information{
        .timeSpentBeginDate = timeSpentBeginDate_.value_or(now),
        .timeSpentEndDate = now,
        .typingSpeedBeginDate = typingSpeedBeginDate_,
        .typingSpeedEndDate = now,
        .numberOfTaps = numberOfTaps_,
        .numberOfCharsTyped = numberOfCharsTyped_,
        .fieldTagString = fieldTag_,
        .userEvent = context_->values->currentUserEvent,
        .oriantation = std::string(orientation),
        .touchForce = shortestDecimal(touchForce_),
        .xPosition = shortestDecimal(touchPosition_.x),
        .yPosition = shortestDecimal(touchPosition_.y),
    };
    if (context_->console->logs()) context_->console->log(touchLine(touchForce_, touchPosition_, orientation));

    numberOfCharsTyped_ = 0;
    typingSpeedBeginDate_.reset();
    allTextTypedStrings_->wipe();
    shouldEndEditing_ = false;

    if (fieldTag_ == rawValue(FieldTags::None)) {
        context_->console->log("TrackingTextField fieldTag is \"None\", skip reporting");
        return;
    }
    // The tag was checked when the period began; the host may have changed it since.
    if (!tagIsKnown()) return;
    // The dictionary is built by the worker: the host's thread only hands the facts over.
    context_->handOff(FieldPeriodFacts{.information = std::move(information), .control = alive_, .console = context_->console});
}

void TrackingTextField::viewTapped() { ++numberOfTaps_; }

void TrackingTextField::viewLongPressed(GestureRecognizerState state) {
    if (state == GestureRecognizerState::ended) ++numberOfTaps_;
}

void TrackingTextField::touchesMoved(const std::vector<Touch>& touches) {
    if (touches.empty()) return;
    touchForce_ = touches.front().force;
    touchPosition_ = touches.front().location;
}

}  // namespace quarra
