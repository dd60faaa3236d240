// Fatal runtime errors: the fixed report, then the end of the program with -1.
#pragma once

#include <cstdint>
#include <string>

namespace tavrin {

// Numbered runtime errors 1–11 (array index, type mismatch, bad argument kind, ...).
[[noreturn]] void ReportRuntimeError(int32_t number);
// A fatal error of number 0 with its own GBK text.
[[noreturn]] void ReportFatalError(const char* gbkText);
// The general form: number (0 = none) and GBK message (may be empty).
[[noreturn]] void ReportFatal(int32_t number, const std::string& gbkMessage);

// The window layer's fatal errors about windows and controls it cannot find;
// their texts are the runtime's.
enum class MissingObject {
    kWindowOrControl,   // the window or control does not exist or is not loaded
    kWindowOfControl,   // the window of the control asked for is not loaded
    kWindow,            // the window is not loaded
    kEventWindow,       // the window that raised an event is not found
    kEventItem,         // the control that raised an event is not found
    kInvalidEventItem,  // the control that raised an event is not valid
};
[[noreturn]] void ReportMissingObject(MissingObject what);

// The GBK text of numbered error 1–11 (empty for others).
const char* RuntimeErrorMessage(int32_t number);
// The report text exactly as shown in the message box.
std::string BuildFatalReportText(int32_t number, const std::string& gbkMessage);

// How many ends (fatal reports and program ends) are under way: while it is not
// zero no new event runs and idle callbacks wait.
int32_t ErrorExitNesting();
void IncrementErrorExitNesting();

// The end that follows a fatal report, given the code -1. The process installs
// its ordered end (windows closed, libraries told, the exit handler skipped)
// when it initialises the runtime; until then a fatal error ends the process at
// once with the code.
using FatalEnd = void (*)(int32_t code);
void InstallFatalEnd(FatalEnd end);

// An optional hook that sees every fatal error first; a non-zero result
// suppresses the message box (the program still ends).
using ErrorHook = int (*)(int32_t number, const char* gbkMessage);
void SetErrorHook(ErrorHook hook);

}  // namespace tavrin
