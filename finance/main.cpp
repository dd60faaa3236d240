// The program's entry point: the one place that joins every layer (the
// analysis layer plugs into the finance wiring); everything else starts in the runtime.
#include "analysis/analysis_setup.h"
#include "finance/command_line.h"
#include "finance/handlers.h"
#include "finance/start_routine.h"

int main(int argc, char** argv) {
    if (int status = 0; finance::AnswerCommandLine(argc, argv, &status)) return status;
    finance::InstallProgramWindowSystem();
    analysis::InstallAnalysis();
    tavrin::RunApplication(argc, argv, finance::ProgramImage());
}
