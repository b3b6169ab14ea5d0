// The tags as Q_ENUM properties: the keys are the library's own cases, and
// every tag property notifies.
#include <QMetaEnum>
#include <QSignalSpy>
#include <gmock/gmock.h>

#include <quarra/qt/Tags.hpp>
#include <quarra/qt/TrackedCellWidget.hpp>
#include <quarra/qt/TrackedFieldGroup.hpp>
#include <quarra/qt/TrackedLineEdit.hpp>
#include <quarra/qt/TrackedPicker.hpp>
#include <quarra/qt/TrackedPushButton.hpp>

#include "QtTestSupport.hpp"

namespace quarra::qt {
namespace {

using quarra::testing::TrackingHarness;

// Each key is the raw string of the same case, but None ("Undefined").
template <class QtEnum, class Library>
void expectMirrors(Library (*toLibrary)(QtEnum), const char* noneRaw) {
    const QMetaEnum meta = QMetaEnum::fromType<QtEnum>();
    ASSERT_GT(meta.keyCount(), 1);
    for (int i = 0; i < meta.keyCount(); ++i) {
        const std::string key = meta.key(i);
        const std::string raw(rawValue(toLibrary(static_cast<QtEnum>(meta.value(i)))));
        EXPECT_EQ(raw, i == 0 ? std::string(noneRaw) : key) << key;
    }
}

TEST(TagsTest, TheQtEnumsMirrorTheLibrarysVocabularies) {
    expectMirrors<Tags::Field, FieldTags>(&Tags::toLibrary, "Undefined");
    expectMirrors<Tags::Screen, ScreenTags>(&Tags::toLibrary, "Undefined");
    expectMirrors<Tags::Action, ButtonTrackingAction>(&Tags::toLibrary, "Undefined");
}

TEST(TagPropertiesTest, EachTaggedClassTakesItsTagByEnumKeyAndNotifies) {
    TrackingHarness h;
    struct Case {
        std::unique_ptr<QObject> object;
        const char* enumProperty;
        const char* stringProperty;
        const char* key;
    };
    Case cases[] = {
        {std::make_unique<TrackedLineEdit>(nullptr, h.context), "field", "fieldTag", "Password"},
        {std::make_unique<TrackedPicker>(nullptr, h.context), "field", "fieldTag", "LoginPickerView"},
        {std::make_unique<TrackedFieldGroup>(), "field", "fieldTag", "BillingCity"},
        {std::make_unique<TrackedPushButton>(nullptr, h.context), "action", "trackingAction", "LoginAttempt"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.object->metaObject()->className());
        const QMetaProperty property =
            c.object->metaObject()->property(c.object->metaObject()->indexOfProperty(c.enumProperty));
        ASSERT_TRUE(property.isEnumType());
        ASSERT_TRUE(property.hasNotifySignal());
        QSignalSpy changed(c.object.get(), property.notifySignal());
        // As a property editor or a .ui file sets it: by the enum's key.
        ASSERT_TRUE(c.object->setProperty(c.enumProperty, QString::fromLatin1(c.key)));
        EXPECT_EQ(c.object->property(c.stringProperty).toString(), QString::fromLatin1(c.key));
        EXPECT_EQ(property.enumerator().valueToKey(c.object->property(c.enumProperty).toInt()), std::string(c.key));
        c.object->setProperty(c.stringProperty, QString::fromLatin1(c.key));  // unchanged: no signal
        EXPECT_EQ(changed.size(), 1);
    }
}

TEST(TagPropertiesTest, ACellFromAUiFileTakesItsTapRecogniserAsAProperty) {
    TrackedCellWidget cell;
    EXPECT_FALSE(cell.property("tapRecognizer").toBool());
    ASSERT_TRUE(cell.setProperty("tapRecognizer", true));  // as setupUi() does
    EXPECT_TRUE(cell.tracking().hasTapRecognizer());
}

}  // namespace
}  // namespace quarra::qt
