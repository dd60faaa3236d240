// One running program per program directory: a second start over the same data
// files brings the running main window to the front and ends.
#pragma once

namespace tavrin::finance {

enum class HandOver {
    kNoneRunning,   // this start goes on to the main window
    kShown,         // the running program brought its window to the front
    kNotAnswering,  // a program holds the directory but did not answer
};

// Asks a program already running over this program directory to show its
// main window (it says so on standard output when it did).
HandOver HandOverToRunningProgram();

// From now on this program answers later starts over its directory. Called
// again (the tests' next start over another directory), it listens anew.
void AnswerLaterStarts();

}  // namespace tavrin::finance
