#pragma once
// The host side of the tracking controls, as a headless host has it: a text
// field that knows whether it has the focus and what was typed, a form row
// that carries a field tag, and screens that derive from the library's
// tagged screen bases. Main queue only, like the controls they stand behind.
#include <memory>
#include <optional>
#include <string>

#include <quarra/tracking/EventsTrackerCollectionViewController.hpp>
#include <quarra/tracking/EventsTrackerTableViewController.hpp>
#include <quarra/tracking/EventsTrackerViewController.hpp>
#include <quarra/tracking/FieldTrackingProtocol.hpp>
#include <quarra/tracking/TrackingTextField.hpp>

namespace quarra::cli {

class TypingFieldHost final : public TrackingTextField::Host {
public:
    bool isEditing() const override { return editing; }
    std::string text() const override { return typed; }
    std::string className() const override { return "CliTextField"; }

    bool editing = false;  // true between the begin and the end of editing
    std::string typed;     // the text typed so far
};

class FieldTagHolder final : public FieldTrackingProtocol {
public:
    explicit FieldTagHolder(FieldTags tag) : tag_(tag) {}
    FieldTags fieldTag() const override { return tag_; }
    void setFieldTag(FieldTags tag) override { tag_ = tag; }

private:
    FieldTags tag_;
};

// A row of a form holding one plain text field; it adopts the field-tracking
// protocol only when it has a tag the library knows.
class FormRow final : public ViewNode {
public:
    explicit FormRow(std::optional<FieldTags> tag) {
        if (tag) adopter_ = std::make_shared<FieldTagHolder>(*tag);
    }
    std::shared_ptr<FieldTrackingProtocol> fieldTracking() const override { return adopter_; }
    std::string className() const override { return "CliFormRow"; }

private:
    std::shared_ptr<FieldTrackingProtocol> adopter_;
};

class PlainTextField final : public ViewNode {
public:
    explicit PlainTextField(ViewNode& row) : row_(row) {}
    ViewNode* superview() const override { return &row_; }
    std::string className() const override { return "CliPlainTextField"; }

private:
    ViewNode& row_;
};

// A host screen class of each tagged base, returning the scenario's tag.
template <typename Base>
class TaggedScreen final : public Base {
public:
    TaggedScreen(ScreenTags tag, std::shared_ptr<const TrackingContext> context)
        : Base(std::move(context)), tag_(tag) {}
    ScreenTags screenTag() const override { return tag_; }

private:
    ScreenTags tag_;
};

}  // namespace quarra::cli
