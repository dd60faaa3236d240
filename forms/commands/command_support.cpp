// Control lookup with the fatal report for commands on unloaded windows.
#include "forms/commands/command_support.h"

#include "fc_text_constants.h"
#include "forms/control_lookup.h"
#include "runtime/errors.h"

namespace tavrin::form_commands {

forms::Control& RequireControl(int32_t argc, const Value* argv) {
    const Value& ref = ArgAt(argc, argv, 0);
    forms::Control* control = forms::FindControl(ref.lo, ref.hi);
    if (control == nullptr) ReportFatalError(fc_text::WindowOrControlMissing);
    return *control;
}

}  // namespace tavrin::form_commands
