#pragma once
// Tracking controls attached to an object the host made: each a child object
// of it, found again by its object name, so that it goes with the object.
#include <QObject>
#include <QWidget>
#include <memory>
#include <string>

#include <quarra/tracking/TrackingContextRef.hpp>

namespace quarra::qt {

inline constexpr const char* kFieldAttachmentName = "quarra-field-attachment";
inline constexpr const char* kButtonAttachmentName = "quarra-button-attachment";
inline constexpr const char* kScreenAttachmentName = "quarra-screen-attachment";

template <class T>
T* attachmentOf(const QObject& object, const char* name) {
    for (QObject* child : object.children()) {
        if (child->objectName() != QLatin1String(name)) continue;
        if (auto* found = dynamic_cast<T*>(child)) return found;
    }
    return nullptr;
}

// The raw strings go to the controls as they are, so that an unknown one is
// said on the console exactly as for the subclasses.
bool attachField(QWidget& editor, const std::string& rawTag, std::shared_ptr<const TrackingContext> context);
bool attachButton(QObject& buttonOrAction, const std::string& rawAction,
                  std::shared_ptr<const TrackingContext> context);
bool attachScreen(QWidget& screen, const std::string& rawTag, std::shared_ptr<const TrackingContext> context);
bool attachPicker(QWidget& picker, const std::string& rawTag, std::shared_ptr<const TrackingContext> context);

// Whether trackField() (or the property) already feeds this editor.
inline bool hasFieldAttachment(const QObject& editor) {
    for (QObject* child : editor.children()) {
        if (child->objectName() == QLatin1String(kFieldAttachmentName)) return true;
    }
    return false;
}

}  // namespace quarra::qt
