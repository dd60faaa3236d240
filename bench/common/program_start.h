// Starting the finance program inside a benchmark or a tool run by hand.
#pragma once

#include <functional>
#include <string>

namespace bench {

// Starts the program's runtime with its window system and the analysis part
// (charts, period views, printing) over the program directory (UTF-8). Message
// boxes are answered with OK and their texts written to stderr, so that a run
// never waits for a person. No window is loaded yet.
void StartProgram(int argc, char** argv, const std::string& directoryUtf8);

// Starts the program over the directory, lets `writeData` write its data
// files there, then loads the main window and lets its start-up run.
void StartProgramWithMainWindow(const std::string& directoryUtf8,
                                const std::function<void()>& writeData);

// Lets waiting events run `rounds` times, pausing `pauseMs` milliseconds between.
void Settle(int rounds, int pauseMs);

}  // namespace bench
