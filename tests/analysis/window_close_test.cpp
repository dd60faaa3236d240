// Closing the main window by its close box while other windows are open: a
// modal category editor keeps it (the editor comes to the front and still
// works), and a print settings window left open ends with it.
#include <QApplication>
#include <QCloseEvent>
#include <QTableView>

#include "analysis_test_support.h"
#include "forms/controls.h"
#include "forms/window_system.h"

namespace tavrin::finance::testing {
namespace {

class WindowCloseTest : public AnalysisTest {
  protected:
    // The close a window manager sends when the person clicks the close box.
    static bool CloseBox(uint32_t window) {
        QWidget* w = forms::WindowWidget(window);
        if (!w) return false;
        QCloseEvent close;
        QApplication::sendEvent(w, &close);
        return close.isAccepted();
    }
};

TEST_F(WindowCloseTest, WhileAModalEditorIsOpenTheMainWindowStaysAndTheEditorStillWorks) {
    WriteCategoryFile(true, {"工资"});
    StartProgram();
    bool mainStayed = false, editorStayed = false;
    WhenCategoryGridShows(true, 1, [&] {
        CloseBox(ids::MainWindow);
        SettleEvents();
        mainStayed = forms::IsWindowLoaded(ids::MainWindow);
        editorStayed = forms::IsWindowLoaded(ids::IncomeCategoryWindow);
        QTableView* grid = CategoryGrid(true);
        ASSERT_NE(grid, nullptr);
        grid->model()->setData(grid->model()->index(0, 0), QStringLiteral("薪水"));
        Click(ids::IncomeConfirmButton, ids::IncomeCategoryWindow);
    });
    Click(ids::IncomeCategoryButton);
    SettleEvents();
    EXPECT_TRUE(mainStayed);
    EXPECT_TRUE(editorStayed);
    EXPECT_FALSE(forms::IsWindowLoaded(ids::IncomeCategoryWindow));
    EXPECT_EQ(ComboEntries(ids::IncomeCategoryCombo), std::vector<std::string>{"薪水"});
    EXPECT_TRUE(TakeMessages().empty());

    // With the editor gone the close box closes the main window.
    CloseBox(ids::MainWindow);
    SettleEvents();
    EXPECT_FALSE(forms::IsWindowLoaded(ids::MainWindow));
}

TEST_F(WindowCloseTest, ThePrintSettingsWindowClosesWithTheMainWindow) {
    WriteIncomeFile({{"工资", 10, Days(2025, 1, 1), ""}});
    StartProgram();
    ClickToolButton(7);  // 打印表: the settings window, not modal
    SettleEvents();
    ASSERT_TRUE(forms::IsWindowLoaded(ids::PrintSettingsWindow));
    CloseBox(ids::MainWindow);
    SettleEvents();
    EXPECT_FALSE(forms::IsWindowLoaded(ids::MainWindow));
    EXPECT_FALSE(forms::IsWindowLoaded(ids::PrintSettingsWindow));
    EXPECT_TRUE(TakeMessages().empty());
}

}  // namespace
}  // namespace tavrin::finance::testing
