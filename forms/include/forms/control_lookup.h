// Finding the live control of a created window by ids.
#pragma once

#include <cstdint>

namespace tavrin::forms {

class Control;

// The live control of a created window (the window's own record for control
// id 0 or the window id), or null when the window or control is not loaded.
Control* FindControl(uint32_t windowId, uint32_t controlId);
template <typename T>
T* FindControlAs(uint32_t windowId, uint32_t controlId) {
    return dynamic_cast<T*>(FindControl(windowId, controlId));
}

}  // namespace tavrin::forms
