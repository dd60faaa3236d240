// The field readings SumRecords and FindRecord evaluate straight from a scan's
// record image instead of calling the deferred code once per record. Internal.
#pragma once

#include <cmath>
#include <cstring>
#include <string_view>

#include "internal/command_support.h"

namespace tavrin::rs {

// A FieldReading expression over a number field of this database.
class DirectNumber {
  public:
    // Recognised only when the expression is a FieldReading of a fixed-width,
    // non-text field of db; otherwise the result is empty (false).
    static DirectNumber Recognise(Database& db, const Value& expression);
    explicit operator bool() const { return field_ != nullptr; }
    // The same Value the deferred code would give for this record.
    Value valueOf(const uint8_t* record) const;
    // Whether the field is a float or double, whose number numberOf gives.
    bool isFloating() const { return field_->type == kFieldFloat || field_->type == kFieldDouble; }
    // NumberOf(valueOf(record)) for a float or double field, without the Value.
    double numberOf(const uint8_t* record) const {
        const uint8_t* at = record + field_->offset;
        if (field_->type == kFieldFloat) {
            float f;
            std::memcpy(&f, at, 4);
            return nonFiniteAsZero_ && !std::isfinite(f) ? 0.0 : double(f);
        }
        double d;
        std::memcpy(&d, at, 8);
        return nonFiniteAsZero_ && !std::isfinite(d) ? 0.0 : d;
    }

  private:
    const FieldDescriptor* field_ = nullptr;
    bool nonFiniteAsZero_ = false;
};

// A FieldTextMatch condition over a text field of this database.
class DirectTextMatch {
  public:
    static DirectTextMatch Recognise(Database& db, const Value& condition);
    explicit operator bool() const { return field_ != nullptr; }
    bool holds(const uint8_t* record) const;

  private:
    const FieldDescriptor* field_ = nullptr;
    std::string_view text_;
};

}  // namespace tavrin::rs
