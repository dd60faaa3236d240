// The handler names the template compiler emitted (offset = index) and the
// application routines bound to them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/process.h"

namespace tavrin::forms {

class HandlerTable {
  public:
    void setNames(const char* const* names, size_t count);
    // Binds every offset to the routine of the same name; an unknown name binds
    // to "no handler" with a warning on stderr, or stops the program when
    // every name was required to have its routine.
    void bind(const HandlerEntry* handlers, size_t count);
    // The routine bound to an offset, or null for -1, unknown and unbound offsets.
    EventHandler at(int32_t offset) const;
    std::vector<std::string> unboundNames() const;
    void requireEveryBound(bool required) { requireEvery_ = required; }

  private:
    std::vector<std::string> names_;
    std::vector<EventHandler> bound_;
    bool requireEvery_ = false;
};

}  // namespace tavrin::forms
