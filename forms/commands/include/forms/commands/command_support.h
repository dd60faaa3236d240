// What the window commands share: finding the control a command's first
// argument refers to (a window or control that is not loaded is fatal), and
// reading optional arguments under the rule that an unusable kind is neutral.
#pragma once

#include <cstdint>
#include <string_view>

#include "forms/control.h"
#include "runtime/kernel/kernel_support.h"
#include "runtime/memory.h"
#include "runtime/value.h"

namespace tavrin::form_commands {

using kernel::ArgAt;
using kernel::BoolArg;
using kernel::IntArg;
using kernel::TextArg;

// The live control (or window record) of the reference in argv[0]: lo = window
// id, hi = control id (0, the window id or the window's own item id name the
// window). Ends the program with the fatal report when it is not loaded.
forms::Control& RequireControl(int32_t argc, const Value* argv);

// The same, seen as kind T; null when the control is of another kind (the
// command then gives its neutral result).
template <typename T>
T* RequireControlAs(int32_t argc, const Value* argv) {
    return dynamic_cast<T*>(&RequireControl(argc, argv));
}

inline bool Present(int32_t argc, const Value* argv, int32_t i) {
    return ArgAt(argc, argv, i).present();
}
// An int argument, or `fallback` when it was left out.
inline int32_t IntOr(int32_t argc, const Value* argv, int32_t i, int32_t fallback) {
    return Present(argc, argv, i) ? IntArg(argv[i]) : fallback;
}

inline void SetTextResult(Value* result, std::string_view gbk) {
    *result = MakeTextRef(CopyText(gbk));
}

}  // namespace tavrin::form_commands
