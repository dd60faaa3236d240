// The program's entry point: everything else starts in the runtime.
#include "finance/start_routine.h"

int main(int argc, char** argv) {
    tavrin::RunApplication(argc, argv, finance::ProgramImage());
}
