// The tool bar, the help menu with its two addresses, and the about box.
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "finance_test_support.h"
#include "forms/bars.h"
#include "forms/commands/library_commands.h"
#include "forms/page_control.h"
#include "forms/window_system.h"

namespace tavrin::finance::testing {
namespace {

using ToolbarTest = FinanceTest;

forms::ToolBarControl* Bar() {
    return forms::FindControlAs<forms::ToolBarControl>(ids::MainWindow, ids::Toolbar1);
}

TEST_F(ToolbarTest, FifteenButtonsWithTheirTextsUndoAndRedoDisabled) {
    StartProgram();
    ASSERT_NE(Bar(), nullptr);
    ASSERT_EQ(Bar()->buttonCount(), 15);
    const std::map<int, std::string> texts{
        {1, "初始化"}, {2, "备份"},  {4, "收入详单"}, {5, "支出详单"}, {7, "打印表"}, {8, "打印图"},
        {10, "撤销"},  {11, "重复"}, {12, "帮助"},    {13, "关于"},    {14, "退出"}};
    for (int i = 0; i < 15; ++i) {
        if (texts.count(i)) {
            ASSERT_NE(Bar()->button(i), nullptr) << i;
            EXPECT_EQ(Bar()->button(i)->text().toStdString(), texts.at(i));
            EXPECT_FALSE(Bar()->button(i)->icon().isNull()) << i;
        } else {
            EXPECT_EQ(Bar()->button(i), nullptr) << "separator " << i;
        }
    }
    EXPECT_FALSE(Bar()->isButtonEnabled(10));
    EXPECT_FALSE(Bar()->isButtonEnabled(11));
    EXPECT_TRUE(Bar()->isButtonEnabled(12));
    EXPECT_EQ(Bar()->button(5)->toolTip().toStdString(), "添加、修改、删除收入项目");
}

TEST_F(ToolbarTest, TheDetailButtonsSwitchTheMainPage) {
    StartProgram();
    auto* pages = forms::FindControlAs<forms::PageControl>(ids::MainWindow, ids::MainPages);
    ASSERT_NE(pages, nullptr);
    ClickToolButton(5);
    EXPECT_EQ(pages->current(), 1);
    EXPECT_TRUE(Widget(ids::ExpenseList)->isVisible());
    EXPECT_FALSE(Widget(ids::IncomeList)->isVisible());
    ClickToolButton(4);
    EXPECT_EQ(pages->current(), 0);
    EXPECT_TRUE(Widget(ids::IncomeList)->isVisible());
}

TEST_F(ToolbarTest, HelpDoesNothingItselfItsArrowOffersBlogAndDownloadPage) {
    StartProgram();
    std::vector<std::string> opened;
    tavrin::form_commands::SetDocumentOpener([&](const QUrl& url) {
        opened.push_back(url.toString().toStdString());
        return true;
    });
    QMenu* before = forms::LastPopupMenu();
    ClickToolButton(12);
    SettleEvents();
    EXPECT_EQ(forms::LastPopupMenu(), before);
    // The arrow part of the button.
    QToolButton* help = Bar()->button(12);
    QTest::mouseClick(help, Qt::LeftButton, {}, QPoint(help->width() - 4, help->height() / 2));
    SettleEvents();
    QMenu* menu = forms::LastPopupMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_NE(menu, before);
    std::vector<std::string> entries;
    for (QAction* a : menu->actions()) entries.push_back(a->text().toStdString());
    EXPECT_EQ(entries, (std::vector<std::string>{"官方博客", "官方网盘"}));
    menu->actions()[0]->trigger();
    menu->close();
    SettleEvents();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "https://blog.example.org/tavrin");
    tavrin::form_commands::SetDocumentOpener({});
}

TEST_F(ToolbarTest, AboutOpensModallyAndItsButtonClosesIt) {
    StartProgram();
    bool seen = false;
    WhenShown(ids::AboutWindow, {}, [&] {
        seen = forms::IsWindowLoaded(ids::AboutWindow);
        EXPECT_EQ(forms::WindowWidget(ids::AboutWindow)->windowTitle().toStdString(), "关于");
        Click(ids::AboutOkButton, ids::AboutWindow);
    });
    ClickToolButton(13);
    SettleEvents();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(forms::IsWindowLoaded(ids::AboutWindow));
}

}  // namespace
}  // namespace tavrin::finance::testing
