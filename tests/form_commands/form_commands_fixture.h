// The test window loaded offscreen around every test, control references to
// its controls, and GBK texts written in UTF-8.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <string>
#include <string_view>

#include "fct_templates.h"
#include "one_window_test.h"
#include "forms/template_format.h"
#include "forms/window_system.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/memory.h"
#include "runtime/message_box.h"
#include "runtime/shell/application.h"
#include "settle_events.h"

namespace form_commands_test {

using namespace tavrin;
namespace ids = fct::ids;
namespace TypeId = tavrin::forms::TypeId;

inline std::string G(std::string_view utf8) {
    return Utf8ToGbk(utf8);
}

// Copies a text result out and frees it; `wasNull` tells whether it was null.
inline std::string TakeText(Value v, bool* wasNull = nullptr) {
    const char* p = v.asText();
    if (wasNull) *wasNull = p == nullptr;
    std::string s = p ? p : "";
    Free(const_cast<char*>(p));
    return s;
}

inline void StartWindowSystemOnce() {
    static const bool started = [] {
        window_test::StartOverSegment("form_commands_test",
                                      {fct::kHandlerNames, fct::kHandlerNameCount,
                                       fct::kTemplateSegment, fct::kTemplateSegmentSize});
        return true;
    }();
    (void)started;
}

inline Value Ref(uint32_t controlId, uint32_t typeId, uint32_t windowId = ids::TestWindow) {
    return MakeControlRef(windowId, controlId, typeId);
}

// Processes events for `ms` milliseconds (timers of the views included).
inline void Wait(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, ms);
    SettleEvents();
}

class FormCommandsTest : public window_test::OneWindowTest<ids::TestWindow> {
  protected:
    static void SetUpTestSuite() { StartWindowSystemOnce(); }
};

}  // namespace form_commands_test
