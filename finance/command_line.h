// The answers the program gives on the terminal without opening a window.
#pragma once

namespace tavrin::finance {

// --version and --help print their answer and give true (the program then ends
// with *status); any other command line gives false and goes to the windows.
bool AnswerCommandLine(int argc, char** argv, int* status);

}  // namespace tavrin::finance
