// Focus, client size, moving, pop-up menus, the font dialog, the combo, list
// and check list commands with their index checks, and the fatal report for
// a control whose window is not loaded.
#include "forms/commands/control_commands.h"

#include <QAbstractScrollArea>
#include <QMenu>
#include <QScrollBar>
#include <cstdio>

#include "form_commands_fixture.h"
#include "forms/controls.h"
#include "forms/report_list.h"

using namespace form_commands_test;
using namespace tavrin::form_commands;

namespace {

const Value kAbsent{};

forms::ListBoxControl* ListBox(uint32_t id) {
    return forms::FindControlAs<forms::ListBoxControl>(ids::TestWindow, id);
}

}  // namespace

TEST_F(FormCommandsTest, ComboItemsWithIndexChecks) {
    const Value combo = Ref(ids::Combo, TypeId::kComboBox);
    const std::string third = G("丙");
    EXPECT_EQ(CallKernel(ComboAddItem, combo, MakeTextRef(third.c_str()), MakeInt(7)).asInt(), 2);
    EXPECT_EQ(forms::FindControlAs<forms::ComboControl>(ids::TestWindow, ids::Combo)->itemData(2),
              7);
    EXPECT_EQ(TakeText(CallKernel(ComboItemText, combo, MakeInt(2))), third);
    EXPECT_EQ(TakeText(CallKernel(ComboItemText, combo, MakeInt(0))), G("甲"));
    for (int32_t bad : {-1, 3, 1000}) {
        bool wasNull = false;
        EXPECT_EQ(TakeText(CallKernel(ComboItemText, combo, MakeInt(bad)), &wasNull), "");
        EXPECT_TRUE(wasNull) << bad;
    }
    CallKernel(ComboClear, combo);
    bool wasNull = false;
    TakeText(CallKernel(ComboItemText, combo, MakeInt(0)), &wasNull);
    EXPECT_TRUE(wasNull);
    EXPECT_EQ(CallKernel(ComboAddItem, combo, MakeTextRef(nullptr), kAbsent).asInt(), 0);
}

TEST_F(FormCommandsTest, ListItemsWithIndexChecks) {
    const Value list = Ref(ids::ListBox, TypeId::kListBox);
    EXPECT_EQ(CallKernel(ListCount, list).asInt(), 3);
    const std::string four = G("四");
    EXPECT_EQ(CallKernel(ListAddItem, list, MakeTextRef(four.c_str()), kAbsent).asInt(), 3);
    EXPECT_EQ(TakeText(CallKernel(ListItemText, list, MakeInt(3))), four);
    EXPECT_EQ(TakeText(CallKernel(ListItemText, list, MakeInt(4))), "");

    EXPECT_FALSE(CallKernel(ListDeleteItem, list, MakeInt(4)).asBool());
    EXPECT_FALSE(CallKernel(ListDeleteItem, list, MakeInt(-1)).asBool());
    EXPECT_EQ(CallKernel(ListCount, list).asInt(), 4);
    EXPECT_TRUE(CallKernel(ListDeleteItem, list, MakeInt(0)).asBool());
    EXPECT_EQ(CallKernel(ListCount, list).asInt(), 3);
    EXPECT_EQ(TakeText(CallKernel(ListItemText, list, MakeInt(0))), G("二"));

    CallKernel(ListClear, list);
    EXPECT_EQ(CallKernel(ListCount, list).asInt(), 0);
    EXPECT_FALSE(CallKernel(ListDeleteItem, list, MakeInt(0)).asBool());
}

TEST_F(FormCommandsTest, CheckMarksFollowTheArgumentRule) {
    const Value checks = Ref(ids::CheckList, TypeId::kCheckListBox);
    EXPECT_FALSE(CallKernel(ListIsChecked, checks, MakeInt(0)).asBool());
    // Omitted checks; 1 checks; any other value unchecks.
    EXPECT_TRUE(CallKernel(ListSetChecked, checks, MakeInt(0), kAbsent).asBool());
    EXPECT_TRUE(CallKernel(ListIsChecked, checks, MakeInt(0)).asBool());
    EXPECT_TRUE(CallKernel(ListSetChecked, checks, MakeInt(0), MakeInt(2)).asBool());
    EXPECT_FALSE(CallKernel(ListIsChecked, checks, MakeInt(0)).asBool());
    EXPECT_TRUE(CallKernel(ListSetChecked, checks, MakeInt(1), MakeBool(true)).asBool());
    EXPECT_TRUE(ListBox(ids::CheckList)->isChecked(1));
    EXPECT_TRUE(CallKernel(ListSetChecked, checks, MakeInt(1), MakeBool(false)).asBool());
    EXPECT_FALSE(ListBox(ids::CheckList)->isChecked(1));

    EXPECT_FALSE(CallKernel(ListSetChecked, checks, MakeInt(2), kAbsent).asBool());
    EXPECT_FALSE(CallKernel(ListSetChecked, checks, MakeInt(-1), kAbsent).asBool());
    EXPECT_FALSE(CallKernel(ListIsChecked, checks, MakeInt(2)).asBool());
    // A plain list box has no check marks.
    const Value plain = Ref(ids::ListBox, TypeId::kListBox);
    EXPECT_FALSE(CallKernel(ListSetChecked, plain, MakeInt(0), kAbsent).asBool());
    EXPECT_FALSE(CallKernel(ListIsChecked, plain, MakeInt(0)).asBool());
}

TEST_F(FormCommandsTest, CommandOnAControlOfAnotherKindGivesTheNeutralResult) {
    const Value button = Ref(ids::Button, TypeId::kButton);
    EXPECT_EQ(CallKernel(ListCount, button).asInt(), 0);
    EXPECT_EQ(CallKernel(ComboAddItem, button, MakeTextRef("x"), kAbsent).asInt(), -1);
    EXPECT_FALSE(CallKernel(OpenCommonDialog, button).asBool());
}

TEST_F(FormCommandsTest, MoveControlKeepsOmittedAndMinusOneParts) {
    const Value button = Ref(ids::Button, TypeId::kButton);
    QWidget* w = forms::FindControl(ids::TestWindow, ids::Button)->widget();
    ASSERT_EQ(w->geometry(), QRect(10, 220, 80, 24));

    CallKernel(MoveControl, button, MakeInt(30), kAbsent, kAbsent, kAbsent);
    EXPECT_EQ(w->geometry(), QRect(30, 220, 80, 24));
    CallKernel(MoveControl, button, kAbsent, MakeInt(5), kAbsent, kAbsent);
    EXPECT_EQ(w->geometry(), QRect(30, 5, 80, 24));
    CallKernel(MoveControl, button, kAbsent, kAbsent, MakeInt(-1), MakeInt(40));
    EXPECT_EQ(w->geometry(), QRect(30, 5, 80, 40));
    CallKernel(MoveControl, button, MakeInt(1), MakeInt(2), MakeInt(100), MakeInt(-1));
    EXPECT_EQ(w->geometry(), QRect(1, 2, 100, 40));
    CallKernel(MoveControl, button, kAbsent, kAbsent, kAbsent, kAbsent);
    EXPECT_EQ(w->geometry(), QRect(1, 2, 100, 40));
}

TEST_F(FormCommandsTest, ClientSizeOfWindowAndOfAScrolledControl) {
    const Value window = Ref(0, TypeId::kWindow);
    QWidget* client = forms::ClientArea(ids::TestWindow);
    EXPECT_EQ(CallKernel(ClientWidth, window).asInt(), client->width());
    EXPECT_EQ(CallKernel(ClientHeight, window).asInt(), client->height());
    EXPECT_GT(client->width(), 0);

    // A list's client area lies inside its frame and keeps the header, but not
    // a scroll bar that is shown.
    const Value list = Ref(ids::List, TypeId::kReportList);
    auto* view = qobject_cast<QAbstractScrollArea*>(
        forms::FindControl(ids::TestWindow, ids::List)->widget());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(CallKernel(ClientWidth, list).asInt(), view->viewport()->width());
    EXPECT_EQ(CallKernel(ClientHeight, list).asInt(), 200 - 2 * view->frameWidth());
    EXPECT_GT(CallKernel(ClientHeight, list).asInt(), view->viewport()->height());
    for (int i = 0; i < 100; ++i)
        forms::FindControlAs<forms::ReportListControl>(ids::TestWindow, ids::List)
            ->insertItem(-1, "row");
    for (int i = 0; i < 20 && !view->verticalScrollBar()->isVisible(); ++i) {
        Wait(5);
    }
    ASSERT_TRUE(view->verticalScrollBar()->isVisible());
    EXPECT_EQ(CallKernel(ClientWidth, list).asInt(), view->viewport()->width());
    EXPECT_LT(CallKernel(ClientWidth, list).asInt(), 420 - 2 * view->frameWidth());
}

TEST_F(FormCommandsTest, SetFocusGivesTheControlTheFocus) {
    QWidget* window = forms::WindowWidget(ids::TestWindow);
    window->activateWindow();
    SettleEvents();
    CallKernel(SetFocus, Ref(ids::Edit, TypeId::kEdit));
    SettleEvents();
    QWidget* edit = forms::FindControl(ids::TestWindow, ids::Edit)->widget();
    EXPECT_TRUE(edit->hasFocus() || edit->isAncestorOf(QApplication::focusWidget()));
}

TEST_F(FormCommandsTest, PopupMenuShowsTheEntrysItemsAtTheGivenPoint) {
    CallKernel(PopupMenu, Ref(0, TypeId::kWindow),
               MakeControlRef(ids::TestWindow, ids::PopupRoot, TypeId::kMenuItem), MakeInt(100),
               MakeInt(120));
    QMenu* menu = forms::LastPopupMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("查看"));
    EXPECT_EQ(menu->pos(), QPoint(100, 120));
    menu->close();
}

TEST_F(FormCommandsTest, FontDialogGoesThroughTheSeam) {
    std::vector<DialogRequest> asked;
    bool accept = true;
    SetDialogResponder([&](const DialogRequest& r) -> std::optional<DialogReply> {
        asked.push_back(r);
        DialogReply reply;
        reply.accepted = accept;
        reply.fields["size"] = "21";
        reply.fields["bold"] = "1";
        return reply;
    });
    const Value dialog = Ref(ids::FontDialog, TypeId::kCommonDialog);
    auto* control =
        forms::FindControlAs<forms::CommonDialogControl>(ids::TestWindow, ids::FontDialog);
    EXPECT_TRUE(CallKernel(OpenCommonDialog, dialog).asBool());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, "font");
    EXPECT_EQ(forms::FontFromRecord(control->fontRecord()).pointSize(), 21);
    EXPECT_TRUE(forms::FontFromRecord(control->fontRecord()).bold());

    accept = false;
    EXPECT_FALSE(CallKernel(OpenCommonDialog, dialog).asBool());
}

// ---- the fatal report ---------------------------------------------------------------------

namespace {

// In the dying child: the report goes to stderr so that the parent can match it.
void ReportToStderr() {
    SetMessageBoxResponder([](const MessageBoxRequest& r) {
        std::fprintf(stderr, "%s|%s\n", GbkToUtf8(r.caption).c_str(), GbkToUtf8(r.text).c_str());
        return int32_t(kButtonOk);
    });
}

}  // namespace

using UnloadedControlTest = FormCommandsTest;

TEST_F(UnloadedControlTest, ControlOfAClosedWindowEndsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ReportToStderr();
            forms::CloseWindow(ids::TestWindow, true);
            CallKernel(ListCount, Ref(ids::ListBox, TypeId::kListBox));
            std::fprintf(stderr, "still running\n");
        },
        ::testing::ExitedWithCode(255), "错误\\|.*错误信息：指定窗口或窗口组件不存在或尚未载入");
}

TEST_F(UnloadedControlTest, ControlOfAWindowNeverLoadedEndsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ReportToStderr();
            CallKernel(MoveControl, Ref(ids::OtherLabel, TypeId::kLabel, ids::OtherWindow),
                       MakeInt(1), Value{}, Value{}, Value{});
        },
        ::testing::ExitedWithCode(255), "指定窗口或窗口组件不存在或尚未载入");
}

TEST_F(UnloadedControlTest, UnknownControlOfALoadedWindowEndsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ReportToStderr();
            CallKernel(ClientWidth, Ref(0x1601FFFF, TypeId::kButton));
        },
        ::testing::ExitedWithCode(255), "指定窗口或窗口组件不存在或尚未载入");
}
