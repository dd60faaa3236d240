// The program's entry point: the record keeping's window system with the
// charts and printed tables installed into it; everything else starts in the runtime.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/program_wiring.h"
#include "command_line.h"
#include "finance/handlers.h"
#include "finance/hooks.h"
#include "forms/events.h"
#include "runtime/shell/application.h"

int main(int argc, char** argv) {
    if (int status = 0; tavrin::app::AnswerCommandLine(argc, argv, &status)) return status;
#ifndef NDEBUG
    // A debug build stops at start when a template names a routine no layer
    // supplies, or a layer leaves a main-window hook unset: either would make
    // a menu item or a click silently do nothing.
    tavrin::forms::RequireEveryHandlerBound(true);
#endif
    tavrin::finance::InstallProgramWindowSystem();
    tavrin::app::InstallChartsAndPrinting();
#ifndef NDEBUG
    if (const std::vector<const char*> unset = tavrin::finance::UnsetHooks(); !unset.empty()) {
        for (const char* hook : unset) std::fprintf(stderr, "tavrin: hook %s is not set\n", hook);
        std::abort();
    }
#endif
    tavrin::RunApplication(argc, argv, tavrin::app::ProgramImage());
}
