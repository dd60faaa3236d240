// Starting the finance program inside a benchmark or a tool run by hand.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace bench {

// Starts the program's runtime with its window system, the charts and the
// printed tables over the program directory (UTF-8). Message boxes are
// answered with OK and their texts written to stderr, so that a run never
// waits for a person. No window is loaded yet.
void StartProgram(int argc, char** argv, const std::string& directoryUtf8);
// The same for the record keeping alone: its window system and its own
// routines, without the charts and the printed tables.
void StartRecordKeeping(int argc, char** argv, const std::string& directoryUtf8);

// Starts the program over the directory as the program's own start does: the
// globals prepared, the start window loaded and its start-up run. When the
// directory has no income file yet, `writeSample` (if given) first writes
// data files there.
void StartProgramAsItself(int argc, char** argv, const std::string& directoryUtf8,
                          const std::function<void()>& writeSample = {});

// Starts the program over the directory, lets `writeData` write its data
// files there, then loads the main window and lets its start-up run.
void StartProgramWithMainWindow(const std::string& directoryUtf8,
                                const std::function<void()>& writeData);

// Shows a page of one of the main window's page controls, as a click on its
// tab does (the events it posts are left waiting).
void ClickTab(uint32_t pageControl, int page);

// Lets waiting events run `rounds` times, pausing `pauseMs` milliseconds between.
void Settle(int rounds, int pauseMs);

}  // namespace bench
