// System commands: the message box, file copy, program directory and event
// processing (the busy cursor is the shell's: runtime/shell/cursor_commands.h).
#pragma once

#include <cstdint>

#include "runtime/value.h"

namespace tavrin {

// any basic value message, int style, [optional] text caption → int button 0–6.
void MessageBox(Value* result, int32_t argc, const Value* argv);
// text source, text target → bool; an existing target is replaced.
void CopyFile(Value* result, int32_t argc, const Value* argv);
// none → text: the program directory (no trailing separator).
void ProgramDirectory(Value* result, int32_t argc, const Value* argv);
// none → none: dispatches every waiting event.
void ProcessEvents(Value* result, int32_t argc, const Value* argv);
// The message-box style as it reaches the seam: task-modal unless system-modal.
constexpr uint32_t kSystemModalStyle = 4096;
constexpr uint32_t kTaskModalStyle = 8192;

}  // namespace tavrin
