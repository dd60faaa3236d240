// The table test windows loaded offscreen, data source references, GBK texts
// written in UTF-8, and the handler the editor window's event 2 reaches.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <functional>
#include <string>
#include <string_view>

#include "forms/template_format.h"
#include "forms/window_system.h"
#include "one_window_test.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/memory.h"
#include "runtime/message_box.h"
#include "runtime/shell/application.h"
#include "settle_events.h"
#include "table/data_source.h"
#include "table/ds_commands.h"
#include "table/table_kinds.h"
#include "tbt_templates.h"

namespace table_test {

using namespace tavrin;
using namespace tavrin::table;
namespace ids = tbt::ids;

inline std::string G(std::string_view utf8) {
    return Utf8ToGbk(utf8);
}

inline std::string TakeText(Value v) {
    const char* p = v.asText();
    std::string s = p ? p : "";
    Free(const_cast<char*>(p));
    return s;
}

// What the editor window's event 2 runs (set by a test; unset it fails the test).
inline std::function<void()>& OnEditorDestroyed() {
    static std::function<void()> f;
    return f;
}

inline void StartWindowSystemOnce() {
    static const bool started = [] {
        static const HandlerEntry handlers[] = {
            {"EditorDestroyed",
             [](EventCall&) {
                 ASSERT_TRUE(OnEditorDestroyed()) << "event 2 came without a test waiting for it";
                 OnEditorDestroyed()();
             }},
        };
        window_test::StartOverSegment("table_test",
                                      {tbt::kHandlerNames, tbt::kHandlerNameCount,
                                       tbt::kTemplateSegment, tbt::kTemplateSegmentSize},
                                      handlers, 1, RegisterTableKinds);
        return true;
    }();
    (void)started;
}

inline Value Source() {
    return MakeControlRef(ids::TableWindow, ids::Source, forms::TypeId::kTableDataSource);
}
inline Value Int(int32_t v) {
    return MakeInt(v);
}
inline const Value kAbsent{};

class TableTest : public window_test::OneWindowTest<ids::TableWindow> {
  protected:
    static void SetUpTestSuite() { StartWindowSystemOnce(); }
    CellModel& Model() {
        auto* s = forms::FindControlAs<DataSourceControl>(ids::TableWindow, ids::Source);
        return *s->cells();
    }
};

}  // namespace table_test
