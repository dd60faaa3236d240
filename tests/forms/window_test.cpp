// Windows created from the test segment, driven through Qt: clicks, typing,
// menus, tool bar, list view, combo box, closing and modal windows reach their
// bound handlers with the right arguments and results.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionToolButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "forms/bars.h"
#include "forms/controls.h"
#include "forms/events.h"
#include "forms/form_window.h"
#include "forms/page_control.h"
#include "forms/properties.h"
#include "forms/report_list.h"
#include "forms/template_format.h"
#include "forms/window_system.h"
#include "runtime/errors.h"
#include "runtime/gbk.h"
#include "test_support.h"

using namespace tavrin;
using namespace tavrin::forms;
using namespace formtest;

namespace {

constexpr uint32_t W = ids::TestWindow;

class WindowTest : public TestWindowTest {
  protected:
    template <typename T>
    T* Get(uint32_t id) {
        T* c = FindControlAs<T>(W, id);
        EXPECT_NE(c, nullptr) << std::hex << id;
        return c;
    }
};

TEST_F(WindowTest, CreatesEveryKindParentedToItsContainerAtTemplatePixels) {
    WindowTemplate* t = FindTemplate(W);
    ASSERT_NE(t, nullptr);
    int widgets = 0;
    for (ItemTemplate& item : t->items) {
        if (item.isMenu) continue;
        Control* c = FindControl(W, item.id);
        ASSERT_NE(c, nullptr) << GbkToUtf8(item.name);
        if (&item == &t->items[0]) continue;
        const bool invisibleComponent = item.flags == 0;
        ASSERT_EQ(c->widget() == nullptr, invisibleComponent) << GbkToUtf8(item.name);
        if (!c->widget()) continue;
        ++widgets;
        QWidget* expectedParent = ClientArea(W);
        if (item.parentId) {
            Control* p = FindControl(W, item.parentId);
            auto* pages = dynamic_cast<PageControl*>(p);
            expectedParent = pages ? pages->pageArea() : p->childContainer();
        }
        EXPECT_EQ(c->widget()->parentWidget(), expectedParent) << GbkToUtf8(item.name);
        // A status bar keeps to the bottom edge of its parent; the rest sit at their pixels.
        const int top =
            item.typeId == TypeId::kStatusBar ? expectedParent->height() - item.height : item.top;
        EXPECT_EQ(c->widget()->geometry(), QRect(item.left, top, item.width, item.height))
            << GbkToUtf8(item.name);
    }
    EXPECT_GE(widgets, 30);
    // The creation event ran once, with the window's own record as the source.
    ASSERT_EQ(Calls("WindowCreated"), 1);
    EXPECT_EQ(Last("WindowCreated")->source.windowId, W);
    EXPECT_EQ(Last("WindowCreated")->source.itemId, t->items[0].id);
    // Kinds that later layers complete still have their real object here.
    EXPECT_NE(Get<PrinterControl>(ids::Printer1)->printer(), nullptr);
    EXPECT_EQ(GbkToUtf8(Get<PrinterControl>(ids::Printer1)->documentTitle()), "测试打印");
    EXPECT_EQ(Get<ComponentControl>(ids::Script1)->setting("language"), "JScript");
    EXPECT_NE(Get<GridControl>(ids::Grid1)->view(), nullptr);
}

TEST_F(WindowTest, ButtonClickReachesItsHandlerWithTheEventSource) {
    QTest::mouseClick(WidgetOf(W, ids::AddButton), Qt::LeftButton);
    ASSERT_EQ(Calls("AddClicked"), 1);
    const Recorded* r = Last("AddClicked");
    EXPECT_EQ(r->itemId, ids::AddButton);
    EXPECT_EQ(r->eventNumber, ButtonEvent::kClicked);
    EXPECT_EQ(r->source.windowId, W);
    EXPECT_EQ(r->source.itemId, ids::AddButton);
    // The source is cleared again after the call.
    EXPECT_EQ(CurrentEventSource().windowId, 0u);
}

TEST_F(WindowTest, MouseHandlerReturningFalseStopsTheControlsOwnHandling) {
    QWidget* manage = WidgetOf(W, ids::ManageButton);
    SetBehaviour("StopMouse", [](EventCall& call) { call.result = MakeBool(false); });
    QTest::mouseClick(manage, Qt::LeftButton, Qt::ControlModifier, QPoint(7, 9));
    ASSERT_EQ(Calls("StopMouse"), 1);
    EXPECT_EQ(Last("StopMouse")->args, (std::vector<int32_t>{7, 9, 1}));
    EXPECT_EQ(Calls("ManageClicked"), 0);
    // Returning true lets the button handle the press: the click goes through.
    SetBehaviour("StopMouse", [](EventCall& call) { call.result = MakeBool(true); });
    QTest::mouseClick(manage, Qt::LeftButton);
    EXPECT_EQ(Calls("ManageClicked"), 1);
}

TEST_F(WindowTest, TypedCharactersCanBeReplacedOrSwallowed) {
    auto* edit = static_cast<QLineEdit*>(WidgetOf(W, ids::AmountEdit));
    SetBehaviour("AmountChar", [](EventCall& call) {
        if (call.args[0].lo == 'x') call.result = MakeInt(0);
        if (call.args[0].lo == '1') call.result = MakeInt('9');
    });
    QTest::keyClicks(edit, "1x2");
    EXPECT_EQ(edit->text(), "92");
    EXPECT_EQ(Calls("AmountChar"), 3);
    // Key down comes with the platform key code and the key state.
    ASSERT_GE(Calls("AmountKeyDown"), 3);
    QTest::keyClick(edit, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(Last("AmountKeyDown")->args, (std::vector<int32_t>{37, 2}));
    // A double-byte character arrives as its GBK code.
    QKeyEvent yuan(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("元"));
    QApplication::sendEvent(edit, &yuan);
    EXPECT_EQ(Last("AmountChar")->args[0], 0xD4AA);
    EXPECT_TRUE(edit->text().endsWith(QString::fromUtf8("元")));
}

TEST_F(WindowTest, ComboTextEventOnlyForUserEditsAndChoiceAfterCommit) {
    auto* combo = Get<ComboControl>(ids::IncomeCombo);
    WriteTextUtf8(W, ids::IncomeCombo, Prop::kOwn + ComboProp::kContent, "程序写的");
    combo->setText(Utf8ToGbk("也是程序"));
    EXPECT_EQ(Calls("ComboEdited"), 0);
    QTest::keyClicks(combo->combo()->lineEdit(), "ab");
    EXPECT_EQ(Calls("ComboEdited"), 2);

    std::string seen;
    SetBehaviour("ComboChosen", [&](EventCall&) {
        seen = ReadTextUtf8(W, ids::IncomeCombo, Prop::kOwn + ComboProp::kContent);
    });
    combo->setCurrent(-1);
    QTest::keyClick(combo->combo(), Qt::Key_Down);
    ASSERT_EQ(Calls("ComboChosen"), 1);
    EXPECT_EQ(seen, "工资");
    EXPECT_EQ(combo->addItem(Utf8ToGbk("其他"), 7), 2);
    EXPECT_EQ(combo->itemData(2), 7);
    EXPECT_EQ(GbkToUtf8(combo->itemText(1)), "奖金");
    EXPECT_EQ(combo->itemText(3), "");
    combo->clear();
    EXPECT_EQ(combo->count(), 0);
    EXPECT_EQ(combo->text(), "");
    EXPECT_EQ(Calls("ComboEdited"), 2);
}

TEST_F(WindowTest, MenuChoicesReachTheirHandlersAndUnboundItemsDoNothing) {
    auto* form = static_cast<FormWindow*>(WindowWidget(W));
    ASSERT_NE(form->menuBar(), nullptr);
    QList<QAction*> titles = form->menuBar()->actions();
    ASSERT_EQ(titles.size(), 3);
    EXPECT_EQ(titles[0]->text(), QString::fromUtf8("文件"));
    EXPECT_FALSE(titles[2]->isVisible());  // the hidden pop-up-only entry
    QList<QAction*> file = titles[0]->menu()->actions();
    ASSERT_EQ(file.size(), 4);
    EXPECT_FALSE(file[1]->isEnabled());
    EXPECT_TRUE(file[3]->isChecked());
    file[0]->trigger();
    SettleEvents();
    ASSERT_EQ(Calls("MenuOpen"), 1);
    EXPECT_EQ(Last("MenuOpen")->itemId, ids::MenuOpen);
    EXPECT_EQ(Last("MenuOpen")->source.itemId, ids::MenuOpen);

    Log().clear();
    // Handler offset -1, and a name the program does not provide, call nothing.
    EXPECT_TRUE(ChooseMenuCommand(W, kMenuCommandBase + 3));
    titles[1]->menu()->actions()[0]->trigger();
    SettleEvents();
    EXPECT_TRUE(Log().empty());
    EXPECT_FALSE(ChooseMenuCommand(W, kMenuCommandBase - 1));
    EXPECT_FALSE(ChooseMenuCommand(W, kMenuCommandBase + 500));
    // Command 20000 + k selects the k-th item of the run.
    EXPECT_TRUE(ChooseMenuCommand(W, kMenuCommandBase + 1));
    EXPECT_EQ(Calls("MenuOpen"), 1);
}

TEST_F(WindowTest, PopupMenuShowsTheEntrysItemsAndRaisesTheirClicks) {
    PopupMenu(W, ids::PopupIncome, QPoint(200, 200));
    QMenu* menu = LastPopupMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), QString::fromUtf8("查看"));
    EXPECT_EQ(menu->pos(), QPoint(200, 200));
    // The command runs once the menu has finished with the event that chose it.
    menu->actions()[0]->trigger();
    EXPECT_EQ(Calls("PopupView"), 0);
    SettleEvents();
    ASSERT_EQ(Calls("PopupView"), 1);
    EXPECT_EQ(Last("PopupView")->itemId, ids::PopupView);
    // An id that is not a menu item of the window shows nothing.
    menu->close();
    SettleEvents();
    PopupMenu(W, ids::AddButton, std::nullopt);
    EXPECT_EQ(LastPopupMenu(), nullptr);
}

TEST_F(WindowTest, ToolBarButtonsReportTheirIndexCountingSeparators) {
    auto* bar = Get<ToolBarControl>(ids::Toolbar);
    ASSERT_EQ(bar->buttonCount(), 6);
    EXPECT_EQ(bar->button(0), nullptr);
    EXPECT_FALSE(bar->isButtonEnabled(2));
    QTest::mouseClick(bar->button(1), Qt::LeftButton);
    ASSERT_EQ(Calls("ToolClicked"), 1);
    EXPECT_EQ(Last("ToolClicked")->args, std::vector<int32_t>{1});
    QTest::mouseClick(bar->button(2), Qt::LeftButton);
    EXPECT_EQ(Calls("ToolClicked"), 1);
    // The drop-down arrow raises event 1; the button's own part raises event 0.
    QToolButton* help = bar->button(3);
    QStyleOptionToolButton option;
    option.initFrom(help);
    option.rect = help->rect();
    option.subControls = QStyle::SC_ToolButton | QStyle::SC_ToolButtonMenu;
    option.features = QStyleOptionToolButton::MenuButtonPopup | QStyleOptionToolButton::HasMenu;
    const QRect arrow = help->style()->subControlRect(QStyle::CC_ToolButton, &option,
                                                      QStyle::SC_ToolButtonMenu, help);
    QTest::mouseClick(help, Qt::LeftButton, {}, arrow.center());
    ASSERT_EQ(Calls("ToolArrow"), 1);
    EXPECT_EQ(Last("ToolArrow")->args, std::vector<int32_t>{3});
    EXPECT_EQ(Calls("ToolClicked"), 1);
    QTest::mouseClick(help, Qt::LeftButton, {}, QPoint(4, help->height() / 2));
    EXPECT_EQ(Calls("ToolClicked"), 2);
    EXPECT_EQ(Last("ToolClicked")->args, std::vector<int32_t>{3});
}

TEST_F(WindowTest, ListViewRaisesHeaderClickAndClicksAfterSelecting) {
    auto* list = Get<ReportListControl>(ids::IncomeList);
    for (int i = 0; i < 5; ++i) list->insertItem(-1, std::to_string(i + 1));
    SettleEvents();
    QHeaderView* header = list->view()->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
    ASSERT_EQ(Calls("HeaderClicked"), 1);
    EXPECT_EQ(Last("HeaderClicked")->args, std::vector<int32_t>{2});

    int32_t selectedInHandler = -2;
    SetBehaviour("ListClicked", [&](EventCall&) {
        selectedInHandler = ReadInt(W, ids::IncomeList, Prop::kOwn + ListViewProp::kCurrent);
    });
    const QRect row1 = list->view()->visualRect(list->model()->index(1, 1));
    QTest::mouseClick(list->view()->viewport(), Qt::LeftButton, {}, row1.center());
    ASSERT_EQ(Calls("ListClicked"), 1);
    EXPECT_EQ(selectedInHandler, 1);
    EXPECT_GE(Calls("ListFocusChanged"), 1);
    const QRect row3 = list->view()->visualRect(list->model()->index(3, 0));
    QTest::mouseClick(list->view()->viewport(), Qt::RightButton, {}, row3.center());
    EXPECT_EQ(Calls("ListRightClicked"), 1);
}

TEST_F(WindowTest, CheckListListBoxCheckAndRadioRaiseTheirEvents) {
    auto* checks = Get<ListBoxControl>(ids::CheckList1);
    checks->setChecked(0, true);
    EXPECT_EQ(Calls("CheckListTicked"), 0);  // the program's own change is silent
    QListWidgetItem* second = checks->list()->item(1);
    second->setCheckState(Qt::Checked);  // as the view does when the user ticks it
    ASSERT_EQ(Calls("CheckListTicked"), 1);
    EXPECT_EQ(Last("CheckListTicked")->args, std::vector<int32_t>{1});
    EXPECT_TRUE(checks->isChecked(1));
    EXPECT_FALSE(checks->isChecked(5));
    EXPECT_FALSE(checks->setChecked(-1, true));

    auto* list = Get<ListBoxControl>(ids::ListBox1);
    QTest::mouseClick(list->list()->viewport(), Qt::LeftButton, {},
                      list->list()->visualItemRect(list->list()->item(1)).center());
    EXPECT_EQ(Calls("ListSelected"), 1);
    EXPECT_EQ(list->current(), 1);
    QTest::mouseDClick(list->list()->viewport(), Qt::LeftButton, {},
                       list->list()->visualItemRect(list->list()->item(1)).center());
    EXPECT_EQ(Calls("ListDouble"), 1);

    QTest::mouseClick(WidgetOf(W, ids::Check1), Qt::LeftButton);
    EXPECT_EQ(Calls("CheckClicked"), 1);
    EXPECT_EQ(ReadInt(W, ids::Check1, Prop::kOwn + CheckProp::kChecked), 1);
    // On the indicator: the rest of the widget beyond a short caption is not the button.
    QTest::mouseClick(WidgetOf(W, ids::Radio2), Qt::LeftButton, {}, QPoint(7, 11));
    EXPECT_EQ(Calls("RadioClicked"), 1);
    EXPECT_EQ(ReadInt(W, ids::Radio1, Prop::kOwn + CheckProp::kChecked), 0);
}

TEST_F(WindowTest, TimerRaisesEventZeroWhileItHasAnInterval) {
    WriteInt(W, ids::Timer1, Prop::kOwn + TimerProp::kInterval, 5);
    ASSERT_TRUE(QTest::qWaitFor([] { return Calls("TimerTick") >= 2; }, 5000));
    WriteInt(W, ids::Timer1, Prop::kOwn + TimerProp::kInterval, 0);
    const int ticks = Calls("TimerTick");
    // A stopped timer is shown by its silence: ten of its intervals pass
    // with the loop running and no tick.
    QTest::qWait(50);
    EXPECT_EQ(Calls("TimerTick"), ticks);
}

TEST_F(WindowTest, FalseFromEventOneKeepsTheWindowOpen) {
    SetBehaviour("WindowMayClose", [](EventCall& call) { call.result = MakeBool(false); });
    WindowWidget(W)->close();
    SettleEvents();
    EXPECT_TRUE(IsWindowLoaded(W));
    EXPECT_EQ(Calls("WindowDestroyed"), 0);
    SetBehaviour("WindowMayClose", {});
    WindowWidget(W)->close();
    SettleEvents();
    EXPECT_FALSE(IsWindowLoaded(W));
    EXPECT_EQ(Calls("WindowDestroyed"), 1);
    EXPECT_EQ(FindControl(W, ids::AddButton), nullptr);
}

TEST_F(WindowTest, PostedCloseHappensAfterTheCurrentHandler) {
    bool loadedAfterRequest = false;
    SetBehaviour("AddClicked", [&](EventCall&) {
        CloseWindow(W, false);
        // Messages processed inside the handler (as a property write does) leave it open.
        WriteTextUtf8(W, ids::Label11, Prop::kOwn + LabelProp::kCaption, "关闭中");
        QCoreApplication::processEvents();
        loadedAfterRequest = IsWindowLoaded(W);
    });
    QTest::mouseClick(WidgetOf(W, ids::AddButton), Qt::LeftButton);
    EXPECT_TRUE(loadedAfterRequest);
    SettleEvents();
    EXPECT_FALSE(IsWindowLoaded(W));
    EXPECT_EQ(Calls("WindowMayClose"), 1);
    EXPECT_EQ(Calls("WindowDestroyed"), 1);
}

TEST_F(WindowTest, ImmediateCloseInsideAHandlerAndCreationAgain) {
    SetBehaviour("AddClicked", [&](EventCall&) { CloseWindow(W, true); });
    QTest::mouseClick(WidgetOf(W, ids::AddButton), Qt::LeftButton);
    EXPECT_FALSE(IsWindowLoaded(W));
    EXPECT_EQ(Calls("WindowMayClose"), 0);  // at once: not asked
    EXPECT_EQ(Calls("WindowDestroyed"), 1);
    SettleEvents();
    ASSERT_TRUE(LoadWindow(W));
    ASSERT_NE(WidgetOf(W, ids::AddButton), nullptr);
    EXPECT_EQ(Calls("WindowCreated"), 2);
    // Loading a loaded window only activates it.
    EXPECT_TRUE(LoadWindow(W));
    EXPECT_EQ(Calls("WindowCreated"), 2);
}

TEST_F(WindowTest, ModalWindowBlocksItsOwnerAndReturnsWhenClosed) {
    std::vector<std::string> order;
    bool ownerEnabledDuringModal = true;
    SetBehaviour("ModalCreated", [&](EventCall&) {
        order.push_back("created");
        QTimer::singleShot(0, [&] {
            ownerEnabledDuringModal = WindowWidget(W)->isEnabled();
            QTest::mouseClick(WidgetOf(ids::ModalWindow, ids::ModalClose), Qt::LeftButton);
        });
    });
    SetBehaviour("ModalCloseClicked", [&](EventCall&) {
        order.push_back("close clicked");
        CloseWindow(ids::ModalWindow, false);
    });
    SetBehaviour("AddClicked", [&](EventCall&) {
        EXPECT_TRUE(LoadWindow(ids::ModalWindow, W, true));
        order.push_back("returned");
    });
    WindowWidget(W)->setEnabled(true);
    QTest::mouseClick(WidgetOf(W, ids::AddButton), Qt::LeftButton);
    EXPECT_EQ(order, (std::vector<std::string>{"created", "close clicked", "returned"}));
    EXPECT_FALSE(ownerEnabledDuringModal);
    EXPECT_TRUE(WindowWidget(W)->isEnabled());
    EXPECT_FALSE(IsWindowLoaded(ids::ModalWindow));
    EXPECT_EQ(WindowWidget(W)->isEnabled(), true);
}

TEST_F(WindowTest, PageControlShowsOnlyTheCurrentPagesControls) {
    QWidget* expenseAdd = WidgetOf(W, ids::ExpenseAdd);
    QWidget* expenseDelete = WidgetOf(W, ids::ExpenseDelete);
    QWidget* hidden = WidgetOf(W, ids::HiddenCheck);
    EXPECT_TRUE(expenseAdd->isHidden());
    EXPECT_FALSE(WidgetOf(W, ids::Group1)->isHidden());
    // Made visible on a page that is not current: stays hidden.
    WriteInt(W, ids::ExpenseAdd, Prop::kVisible, 1);
    EXPECT_TRUE(expenseAdd->isHidden());
    QApplication::setActiveWindow(WindowWidget(W));
    WriteInt(W, ids::Pages, Prop::kOwn + PageProp::kCurrent, 1);
    EXPECT_FALSE(expenseAdd->isHidden());
    EXPECT_FALSE(expenseDelete->isHidden());
    EXPECT_TRUE(hidden->isHidden());  // its visible flag is clear
    EXPECT_TRUE(WidgetOf(W, ids::Group1)->isHidden());
    // Focus goes to the visible, enabled control with the smallest tab order.
    EXPECT_EQ(QApplication::focusWidget(), expenseDelete);
    // The program's own page change raises no page event; the user's does.
    EXPECT_EQ(Calls("PageChanged"), 0);
    auto* pages = FindControlAs<PageControl>(W, ids::Pages);
    QTabBar* tabs = pages->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    EXPECT_EQ(pages->current(), 0);
    EXPECT_EQ(Calls("PageChanged"), 1);
    EXPECT_TRUE(expenseAdd->isHidden());
    // Hidden by the program while on its page: stays hidden when the page returns.
    WriteInt(W, ids::Pages, Prop::kOwn + PageProp::kCurrent, 1);
    WriteInt(W, ids::ExpenseAdd, Prop::kVisible, 0);
    WriteInt(W, ids::Pages, Prop::kOwn + PageProp::kCurrent, 2);
    WriteInt(W, ids::Pages, Prop::kOwn + PageProp::kCurrent, 1);
    EXPECT_TRUE(expenseAdd->isHidden());
    EXPECT_EQ(pages->pageCount(), 4);
    EXPECT_EQ(GbkToUtf8(pages->pageTitle(3)), "打印当前图");
    EXPECT_EQ(pages->pageTitle(4), "");
    // The nested chart page control starts on its first page.
    EXPECT_FALSE(WidgetOf(W, ids::PieChart)->isHidden());
    EXPECT_TRUE(WidgetOf(W, ids::LineChart)->isHidden());
}

TEST_F(WindowTest, WindowEventsForResizeAndStatusBarPanes) {
    const int before = Calls("WindowResized");
    WriteInt(W, 0, Prop::kWidth, 1000);
    SettleEvents();
    EXPECT_GT(Calls("WindowResized"), before);
    EXPECT_EQ(ClientArea(W)->width(), 1000 - kFrameWidth);
    auto* status = Get<StatusBarControl>(ids::Status);
    ASSERT_EQ(status->paneCount(), 6);
    status->setPaneText(1, Utf8ToGbk("12.5元"));
    EXPECT_EQ(GbkToUtf8(status->paneText(1)), "12.5元");
    status->setPaneText(6, "x");  // outside the panes: nothing
    EXPECT_EQ(status->paneText(6), "");
    EXPECT_EQ(status->paneWidth(2), 50);
}

TEST(WindowDeathTest, AnEventRaisedDuringAFatalReportCallsNothing) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            SetUpWindowLayer();
            LoadWindow(W);
            SetErrorHook([](int32_t, const char*) {
                QTest::mouseClick(WidgetOf(W, ids::AddButton), Qt::LeftButton);
                EventCall call;
                call.windowId = W;
                call.itemId = ids::AddButton;
                DispatchEvent(call);
                std::fprintf(stderr, "handler calls during report: %d\n", Calls("AddClicked"));
                return 1;
            });
            ReportFatalError("x");
        },
        testing::ExitedWithCode(255), "handler calls during report: 0");
}

TEST(WindowDeathTest, EventsOfMissingWindowsOrItemsAreFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    SetUpWindowLayer();
    EXPECT_EXIT(
        {
            EventCall call;
            call.windowId = 0x52019999;
            DispatchEvent(call);
        },
        testing::ExitedWithCode(255), "未找到引发事件的窗口");
    EXPECT_EXIT(
        {
            EventCall call;
            call.windowId = W;
            call.itemId = 0x16019999;
            DispatchEvent(call);
        },
        testing::ExitedWithCode(255), "未找到引发事件的窗口组件");
}

}  // namespace
