// The program's windows against the routines and hooks its layers install:
// a handler name without its routine, or a hook no layer sets, would make a
// menu item or a column click silently do nothing.
#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/program_wiring.h"
#include "app_tpl_templates.h"
#include "finance/handlers.h"
#include "finance/hooks.h"
#include "forms/events.h"
#include "forms/template_reader.h"

using namespace tavrin::forms;

namespace {

std::string Joined(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& n : names) out += n + " ";
    return out;
}

TEST(ProgramBindings, EveryHandlerTheWindowsNameHasItsRoutineAndEveryHookIsSet) {
    // As the program starts: the window layer with the templates' names, then
    // the charts and printed tables joined in: the whole table bound, the hooks set.
    tavrin::finance::InstallProgramWindowSystem();
    tavrin::app::InstallChartsAndPrinting();

    // Every template file of the program is in the embedded segment.
    std::vector<WindowTemplate> windows;
    std::string reason;
    ASSERT_TRUE(ReadTemplateSegment(app_tpl::kTemplateSegment, app_tpl::kTemplateSegmentSize,
                                    windows, &reason))
        << reason;
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TAVRIN_TEMPLATE_DIR))
        if (entry.path().extension() == ".tpl") ++files;
    EXPECT_EQ(windows.size(), files);

    std::set<std::string> routines;
    for (const tavrin::HandlerEntry& h : tavrin::app::ProgramHandlers()) routines.insert(h.name);
    size_t checked = 0;
    auto expectRoutine = [&](const WindowTemplate& w, const ItemTemplate& item, int32_t offset) {
        if (offset < 0) return;
        ASSERT_LT(size_t(offset), app_tpl::kHandlerNameCount);
        const std::string name = app_tpl::kHandlerNames[offset];
        EXPECT_TRUE(routines.count(name))
            << "window " << w.windowId << " item " << item.id << " names " << name;
        ++checked;
    };
    for (const WindowTemplate& w : windows) {
        for (const ItemTemplate& item : w.items) {
            for (const EventBinding& b : item.bindings) expectRoutine(w, item, b.handlerOffset);
            if (item.isMenu) expectRoutine(w, item, item.menuHandler);
        }
    }
    EXPECT_GT(checked, 30u);  // the windows do bind their events
    EXPECT_EQ(Joined(UnboundHandlerNames()), "");

    std::vector<std::string> unsetHooks;
    for (const char* hook : tavrin::finance::UnsetHooks()) unsetHooks.emplace_back(hook);
    EXPECT_EQ(Joined(unsetHooks), "");
}

TEST(ProgramBindingsDeathTest, ARequiredBindingStopsAtAHandlerWithoutItsRoutine) {
    tavrin::finance::InstallProgramWindowSystem();
    EXPECT_DEATH(
        {
            RequireEveryHandlerBound(true);
            BindHandlers(tavrin::app::ProgramHandlers().data(), 0);
        },
        "the window templates name MainWindowStartUp, which no layer supplies");
}

}  // namespace
