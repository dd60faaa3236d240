// ScriptEvaluate over the script component's host.
#include "forms/commands/script_commands.h"

#include "forms/commands/command_support.h"
#include "forms/script_component.h"

namespace tavrin::form_commands {

void ScriptEvaluate(Value* result, int32_t argc, const Value* argv) {
    auto* script = RequireControlAs<forms::ScriptControl>(argc, argv);
    SetTextResult(result,
                  script ? script->host().evaluate(TextArg(ArgAt(argc, argv, 1))) : std::string());
}

}  // namespace tavrin::form_commands
