// The message box as a real modal Qt dialog over the program's windows.
#pragma once

#include <cstdint>

#include "runtime/message_box.h"

namespace tavrin {

// Shows the box and returns the pressed button 0–6; closed without a choice it
// answers as the style's Esc does. Installed as the message-box presenter.
int32_t PresentMessageBox(const MessageBoxRequest& request);

}  // namespace tavrin
