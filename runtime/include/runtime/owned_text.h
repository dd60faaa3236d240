// A fresh text or byte-set result held by the scope that received it: the
// block is freed when the scope ends, so no caller frees a result by hand.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "runtime/memory.h"
#include "runtime/value.h"

namespace tavrin {

class OwnedText {
  public:
    // Takes a command's result; kinds that own no block are held and ignored.
    explicit OwnedText(const Value& fresh) : value_(fresh) {}
    ~OwnedText() {
        if (value_.type == TypeCode::kText || value_.type == TypeCode::kByteSet)
            Free(value_.pointer());
    }
    OwnedText(const OwnedText&) = delete;
    OwnedText& operator=(const OwnedText&) = delete;
    OwnedText(OwnedText&& other) noexcept : value_(std::exchange(other.value_, Value{})) {}
    OwnedText& operator=(OwnedText&&) = delete;

    const Value& value() const { return value_; }
    bool isText() const { return value_.type == TypeCode::kText; }
    // The text's bytes (a byte-set's data); empty for any other kind.
    std::string_view view() const {
        if (value_.type == TypeCode::kText) return TextOf(value_);
        if (value_.type == TypeCode::kByteSet) return ByteSetOf(value_);
        return {};
    }
    // A NUL-terminated view of a text; null for the empty text and other kinds.
    const char* c_str() const { return isText() ? value_.asText() : nullptr; }
    std::string str() const { return std::string(view()); }

  private:
    Value value_;
};

// The bytes of a fresh text result, whose block is freed at once.
inline std::string TakeText(const Value& fresh) {
    return OwnedText(fresh).str();
}

}  // namespace tavrin
