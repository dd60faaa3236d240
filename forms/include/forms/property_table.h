// A kind's own properties as rows of one table: number, data kind, getter,
// setter and the rule that brings a written number into range. One reader and
// one writer walk every kind's table, so a kind states what its properties
// are instead of repeating how they are read and written.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "forms/bgr_color.h"
#include "forms/control.h"

namespace tavrin::forms {

// How a written number is brought into range before the setter sees it.
enum class Clamp { kNone, kBool, kNonNegative, kRgb };

inline int64_t ClampNumber(Clamp rule, int64_t n) {
    switch (rule) {
        case Clamp::kBool:
            return n != 0;
        case Clamp::kNonNegative:
            return std::max<int32_t>(0, int32_t(n));
        case Clamp::kRgb:
            return uint32_t(n) & 0xFFFFFF;
        case Clamp::kNone:
            break;
    }
    return n;
}

template <typename C>
struct OwnProperty {
    int32_t number;
    uint16_t dataKind;
    PropertyData (*get)(C&);
    void (*set)(C&, const PropertyData&);  // null for a property that is only read
    Clamp clamp = Clamp::kNone;
};

// What a row promises, without its routines (for comparing with the catalogue).
struct PropertyShape {
    int32_t number;
    uint16_t dataKind;
    bool writable;
};

template <typename C>
class PropertyTable {
  public:
    PropertyTable(std::initializer_list<OwnProperty<C>> rows) : rows_(rows) {}

    bool read(C& control, int number, PropertyData& out) const {
        const OwnProperty<C>* row = find(number);
        if (!row) return false;
        out = row->get(control);
        return true;
    }

    bool write(C& control, int number, const PropertyData& in) const {
        const OwnProperty<C>* row = find(number);
        if (!row || !row->set) return false;
        if (row->clamp == Clamp::kNone) {
            row->set(control, in);
        } else {
            PropertyData clamped = in;
            clamped.number = ClampNumber(row->clamp, in.number);
            row->set(control, clamped);
        }
        return true;
    }

    std::vector<PropertyShape> shape() const {
        std::vector<PropertyShape> out;
        for (const OwnProperty<C>& r : rows_)
            out.push_back({r.number, r.dataKind, r.set != nullptr});
        return out;
    }

  private:
    const OwnProperty<C>* find(int number) const {
        for (const OwnProperty<C>& r : rows_)
            if (r.number == number) return &r;
        return nullptr;
    }
    std::vector<OwnProperty<C>> rows_;
};

// A kind whose own properties are the rows of one table, its static
// properties(): reading and writing a property walk that table. The kind
// derives from TabledControl<Kind> (or TabledControl<Kind, Base> below another
// control class) instead of repeating the two walks.
template <typename Kind, typename Base = Control>
class TabledControl : public Base {
  public:
    using Base::Base;
    bool readProperty(int number, PropertyData& out) override {
        return Kind::properties().read(static_cast<Kind&>(*this), number, out);
    }
    bool writeProperty(int number, const PropertyData& in) override {
        return Kind::properties().write(static_cast<Kind&>(*this), number, in);
    }
};

// Raw data of the common shapes a getter hands back.
inline PropertyData TextData(std::string gbk) {
    return PropertyData::Bytes(std::move(gbk));
}
inline PropertyData FontData(const QFont& font) {
    return PropertyData::Bytes(FontToRecord(font));
}
inline PropertyData ColorData(const QColor& color) {
    return PropertyData::Int(BgrFromColor(color));
}

}  // namespace tavrin::forms
