#pragma once
// Steps that drive the library's tracking controls as a user would: typing
// in a field, tapping a button, showing a picker or a screen. Each ends with
// the first report completion's Boolean, or null when the control sent nothing.
#include <cstdint>
#include <optional>
#include <string>

#include "StepTiming.hpp"

namespace quarra::cli {

// One touch on a control, in the control's own coordinates.
struct TouchInput {
    double force = 0;
    double x = 0;
    double y = 0;
};

// A TrackingTextField: focus, the touch, the taps, one text change per
// character spread over `duration`, then focus leaves.
struct TextFieldStep {
    std::string fieldTag;
    std::string text;
    int64_t taps = 0;
    std::optional<TouchInput> touch;
    Milliseconds duration{0};
    Milliseconds timeout = kDefaultStepTimeout;
};

// A plain text field inside a view tagged with `fieldTag`, watched by a
// QuarraTextWatcher.
struct TextWatcherStep {
    std::string fieldTag;
    std::string text;
    Milliseconds duration{0};
    Milliseconds timeout = kDefaultStepTimeout;
};

// A TrackingButton with this action: the touch (when given), then the tap.
struct TapButtonStep {
    std::string action;
    std::optional<TouchInput> touch;
    Milliseconds timeout = kDefaultStepTimeout;
};

// Makes this reading the scripted accelerometer's latest.
struct AccelerometerSampleStep {
    double x = 0;
    double y = 0;
    double z = 0;
    Milliseconds timeout = kDefaultStepTimeout;
};

// A TrackingPickerView put on screen, left there for `visible`, hidden.
struct PickerStep {
    std::string fieldTag;
    Milliseconds visible{0};
    Milliseconds timeout = kDefaultStepTimeout;
};

// A host screen of this class name passing through the automatic
// appear/disappear hooks.
struct ScreenStep {
    std::string className;
    Milliseconds visible{0};
    Milliseconds timeout = kDefaultStepTimeout;
};

// Which of the library's tagged screen bases the host screen derives from.
enum class TaggedScreenBase { view, table, collection };

// A host screen with this screen tag: did appear, the touch (view base only),
// will disappear after `visible`.
struct TaggedScreenStep {
    std::string screenTag;
    TaggedScreenBase base = TaggedScreenBase::view;
    std::optional<TouchInput> touch;
    Milliseconds visible{0};
    Milliseconds timeout = kDefaultStepTimeout;
};

}  // namespace quarra::cli
