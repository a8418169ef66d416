#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

class TMPanel;
class TMLabel;
class TMcxCheckBox;

// The metadata properties of the in-house controls, read and written by
// name: by the layout as it builds the window, and by code. Each lives in a
// plain field; writing stores the value and does nothing else. Text is in
// the ANSI code page, as window text is; references do not own their
// control.
using MetadataValue =
    std::variant<std::int32_t, std::string, bool, TMPanel*, TMLabel*, TMcxCheckBox*>;

// An unknown name, or a value of another type than the property's.
class MetadataError : public std::invalid_argument {
  public:
    using std::invalid_argument::invalid_argument;
};

class MetadataProperties {
  public:
    virtual ~MetadataProperties() = default;
    // The property names in declaration order.
    virtual std::vector<std::string_view> PropertyNames() const = 0;
    virtual MetadataValue Property(std::string_view name) const = 0;
    virtual void SetProperty(std::string_view name, const MetadataValue& value) = 0;
};

// A class's properties: each name with the field that holds it.
template <typename Control>
struct MetadataField {
    using Member =
        std::variant<std::int32_t Control::*, std::string Control::*, bool Control::*,
                     TMPanel * Control::*, TMLabel * Control::*, TMcxCheckBox * Control::*>;
    std::string_view name;
    Member member;
};

// MetadataProperties over a table of fields: a class lists its fields once.
template <typename Control, std::size_t Count>
class MetadataTable : public MetadataProperties {
  public:
    using Fields = MetadataField<Control>[Count];

    std::vector<std::string_view> PropertyNames() const override {
        std::vector<std::string_view> names;
        for (const auto& field : Control::kMetadata) names.push_back(field.name);
        return names;
    }

    MetadataValue Property(std::string_view name) const override {
        const auto& self = static_cast<const Control&>(*this);
        return std::visit([&](auto member) { return MetadataValue(self.*member); },
                          Find(name).member);
    }

    void SetProperty(std::string_view name, const MetadataValue& value) override {
        auto& self = static_cast<Control&>(*this);
        std::visit(
            [&](auto member) {
                using Type = std::remove_reference_t<decltype(self.*member)>;
                const Type* typed = std::get_if<Type>(&value);
                if (!typed) throw MetadataError("wrong type of value for " + std::string(name));
                self.*member = *typed;
            },
            Find(name).member);
    }

  private:
    static const MetadataField<Control>& Find(std::string_view name) {
        for (const auto& field : Control::kMetadata)
            if (field.name == name) return field;
        throw MetadataError("no metadata property " + std::string(name));
    }
};
