// The fatal error report: one message box in a fixed format, then the end of
// the program with -1 and without the exit handler.
#include "runtime/errors.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "rt_text_constants.h"
#include "runtime/message_box.h"

namespace tavrin {
namespace {

ErrorHook g_hook = nullptr;
bool g_hookRunning = false;
std::atomic<int32_t> g_nesting{0};
std::atomic<FatalEnd> g_end{nullptr};

[[noreturn]] void EndAtOnce(int32_t code) {
    std::fflush(nullptr);
    std::_Exit(code);
}

}  // namespace

int32_t ErrorExitNesting() {
    return g_nesting.load();
}

void IncrementErrorExitNesting() {
    g_nesting.fetch_add(1);
}

void InstallFatalEnd(FatalEnd end) {
    g_end.store(end);
}

void SetErrorHook(ErrorHook hook) {
    g_hook = hook;
}

const char* RuntimeErrorMessage(int32_t number) {
    static const char* const* const kMessages[] = {
        &rt_text::Error1, &rt_text::Error2,  &rt_text::Error3,  &rt_text::Error4,
        &rt_text::Error5, &rt_text::Error6,  &rt_text::Error7,  &rt_text::Error8,
        &rt_text::Error9, &rt_text::Error10, &rt_text::Error11,
    };
    if (number < 1 || number > 11) return "";
    return *kMessages[number - 1];
}

std::string BuildFatalReportText(int32_t number, const std::string& gbkMessage) {
    std::string text = rt_text::ReportHead;
    if (number != 0) {
        text += rt_text::ReportCode;
        text += std::to_string(number);
        text += "\r\n\r\n";
    }
    if (!gbkMessage.empty()) {
        text += rt_text::ReportMessage;
        text += gbkMessage;
        text += "\r\n";
    }
    return text;
}

void ReportFatal(int32_t number, const std::string& gbkMessage) {
    IncrementErrorExitNesting();
    bool suppressed = false;
    if (g_hook != nullptr && !g_hookRunning) {
        g_hookRunning = true;
        suppressed = g_hook(number, gbkMessage.c_str()) != 0;
        g_hookRunning = false;
    }
    if (!suppressed) {
        ShowMessageBox(BuildFatalReportText(number, gbkMessage), rt_text::ReportCaption,
                       16 /* stop icon */);
    }
    if (FatalEnd end = g_end.load()) end(-1);
    EndAtOnce(-1);
}

void ReportRuntimeError(int32_t number) {
    ReportFatal(number, RuntimeErrorMessage(number));
}

void ReportFatalError(const char* gbkText) {
    ReportFatal(0, gbkText ? gbkText : "");
}

void ReportMissingObject(MissingObject what) {
    switch (what) {
        case MissingObject::kWindowOrControl:
            ReportFatalError(rt_text::WindowOrControlMissing);
        case MissingObject::kWindowOfControl:
            ReportFatalError(rt_text::WindowOfControlNotLoaded);
        case MissingObject::kWindow:
            ReportFatalError(rt_text::WindowNotLoaded);
        case MissingObject::kEventWindow:
            ReportFatalError(rt_text::EventWindowMissing);
        case MissingObject::kEventItem:
            ReportFatalError(rt_text::EventItemMissing);
        case MissingObject::kInvalidEventItem:
            ReportFatalError(rt_text::EventItemInvalid);
    }
    ReportFatalError(rt_text::WindowOrControlMissing);
}

}  // namespace tavrin
