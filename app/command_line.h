// The answers the program gives on the terminal without opening a window.
#pragma once

namespace tavrin::app {

// --version and --help print their answer and give true (the program then ends
// with *status 0); an unknown option or an extra argument prints a one-line
// error and gives true with *status 2; no argument gives false (the windows).
bool AnswerCommandLine(int argc, char** argv, int* status);

}  // namespace tavrin::app
