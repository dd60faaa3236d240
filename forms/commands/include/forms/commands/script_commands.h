// The script library's command: evaluating an expression with a script component.
#pragma once

#include <cstdint>

#include "runtime/commands.h"

namespace tavrin::form_commands {

// script component, text expression → text: the value as the component's
// host gives it (the language's own number-to-text form, a string as it is;
// empty — a null text — after a script error or an interruption).
void ScriptEvaluate(Value* result, int32_t argc, const Value* argv);

}  // namespace tavrin::form_commands
