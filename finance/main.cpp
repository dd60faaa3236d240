// The program's entry point: everything else starts in the runtime.
#include "finance/handlers.h"
#include "finance/start_routine.h"

int main(int argc, char** argv) {
    finance::InstallProgramWindowSystem();
    tavrin::RunApplication(argc, argv, finance::ProgramImage());
}
