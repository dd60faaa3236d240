// The program's way of asking for a record file's password: a dialog over the
// windows, or the answer a test installed for dialogs.
#pragma once

namespace tavrin::finance {

// Hands the record engine the dialog it asks through.
void InstallPasswordDialog();

}  // namespace tavrin::finance
