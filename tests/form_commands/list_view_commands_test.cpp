// Report list view commands: rows appended and inserted, cells, images, check
// states, data, deletion, index checks against the live count, and column
// widths with fit-to-contents, fit-to-header and the last column's fill.
#include "forms/commands/list_view_commands.h"

#include <QHeaderView>
#include <QScrollBar>

#include "form_commands_fixture.h"
#include "forms/report_list.h"

using namespace form_commands_test;
using namespace tavrin::form_commands;

namespace {

const Value kAbsent{};

class LvCommandsTest : public FormCommandsTest {
  protected:
    Value list = Ref(ids::List, TypeId::kReportList);
    forms::ReportListControl* control() {
        return forms::FindControlAs<forms::ReportListControl>(ids::TestWindow, ids::List);
    }
    int32_t Append(const std::string& first) {
        return CallLibrary(1, LvInsertItem, list, kAbsent, MakeTextRef(first.c_str()), kAbsent,
                           kAbsent, kAbsent, kAbsent)
            .asInt();
    }
    std::string Cell(int32_t row, int32_t column) {
        return TakeText(CallLibrary(1, LvGetItemText, list, MakeInt(row), MakeInt(column)));
    }
    void SetCell(int32_t row, int32_t column, const std::string& text) {
        CallLibrary(1, LvSetItemText, list, MakeInt(row), MakeInt(column),
                    MakeTextRef(text.c_str()));
    }
};

}  // namespace

TEST_F(LvCommandsTest, RowsAreAppendedOrInsertedAndReturnTheirIndex) {
    EXPECT_EQ(Append("a"), 0);
    EXPECT_EQ(Append("c"), 1);
    // Negative rows append; a row inside the list inserts before it.
    EXPECT_EQ(CallLibrary(1, LvInsertItem, list, MakeInt(-5), MakeTextRef("d"), kAbsent, kAbsent,
                          kAbsent, kAbsent)
                  .asInt(),
              2);
    EXPECT_EQ(CallLibrary(1, LvInsertItem, list, MakeInt(1), MakeTextRef("b"), kAbsent, kAbsent,
                          kAbsent, kAbsent)
                  .asInt(),
              1);
    EXPECT_EQ(CallLibrary(1, LvItemCount, list).asInt(), 4);
    EXPECT_EQ(Cell(0, 0) + Cell(1, 0) + Cell(2, 0) + Cell(3, 0), "abcd");
    // An absent text makes an empty first cell, read back as null.
    EXPECT_EQ(
        CallLibrary(1, LvInsertItem, list, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, MakeInt(99))
            .asInt(),
        4);
    bool wasNull = false;
    TakeText(CallLibrary(1, LvGetItemText, list, MakeInt(4), kAbsent), &wasNull);
    EXPECT_TRUE(wasNull);
    EXPECT_EQ(CallLibrary(1, LvGetItemData, list, MakeInt(4)).asInt(), 99);
}

TEST_F(LvCommandsTest, CellTextsWithRowAndColumnChecks) {
    Append("1");
    const std::string amount = G("12.50"), remark = G("午餐");
    SetCell(0, 1, amount);
    SetCell(0, 2, remark);
    EXPECT_EQ(Cell(0, 1), amount);
    EXPECT_EQ(Cell(0, 2), remark);
    // Column defaults to 0; a shorter text replaces a longer one completely.
    CallLibrary(1, LvSetItemText, list, MakeInt(0), kAbsent, MakeTextRef("x"));
    EXPECT_EQ(Cell(0, 0), "x");
    SetCell(0, 2, "y");
    EXPECT_EQ(Cell(0, 2), "y");

    // Rows and columns outside the list change nothing.
    SetCell(1, 0, "nope");
    SetCell(-1, 0, "nope");
    SetCell(0, 3, "nope");
    EXPECT_EQ(CallLibrary(1, LvItemCount, list).asInt(), 1);
    EXPECT_EQ(Cell(0, 0) + Cell(0, 1) + Cell(0, 2), "x" + amount + "y");
    EXPECT_EQ(Cell(1, 0), "");
    EXPECT_EQ(Cell(0, 3), "");
}

TEST_F(LvCommandsTest, ImagesChecksAndDataPerRow) {
    // An image below -1 counts as -1 (none).
    CallLibrary(1, LvInsertItem, list, kAbsent, MakeTextRef("a"), MakeInt(-7), kAbsent, kAbsent,
                kAbsent);
    CallLibrary(1, LvInsertItem, list, kAbsent, MakeTextRef("b"), MakeInt(3), MakeInt(1), kAbsent,
                MakeInt(42));
    EXPECT_EQ(CallLibrary(1, LvGetItemImage, list, MakeInt(0), kAbsent).asInt(), -1);
    EXPECT_EQ(CallLibrary(1, LvGetItemImage, list, MakeInt(1), kAbsent).asInt(), 3);
    CallLibrary(1, LvSetItemImage, list, MakeInt(0), MakeInt(2), MakeInt(5));
    EXPECT_EQ(CallLibrary(1, LvGetItemImage, list, MakeInt(0), MakeInt(2)).asInt(), 5);
    EXPECT_EQ(CallLibrary(1, LvGetItemImage, list, MakeInt(9), kAbsent).asInt(), -1);

    EXPECT_EQ(CallLibrary(1, LvGetCheckState, list, MakeInt(0)).asInt(), 0);
    EXPECT_EQ(CallLibrary(1, LvGetCheckState, list, MakeInt(1)).asInt(), 1);
    CallLibrary(1, LvSetCheckState, list, MakeInt(0), MakeInt(1));
    CallLibrary(1, LvSetCheckState, list, MakeInt(1), MakeInt(0));
    EXPECT_EQ(CallLibrary(1, LvGetCheckState, list, MakeInt(0)).asInt(), 1);
    EXPECT_EQ(CallLibrary(1, LvGetCheckState, list, MakeInt(1)).asInt(), 0);
    CallLibrary(1, LvSetCheckState, list, MakeInt(2), MakeInt(1));
    EXPECT_EQ(CallLibrary(1, LvGetCheckState, list, MakeInt(2)).asInt(), 0);

    EXPECT_EQ(CallLibrary(1, LvGetItemData, list, MakeInt(1)).asInt(), 42);
    CallLibrary(1, LvSetItemData, list, MakeInt(0), MakeInt(-3));
    CallLibrary(1, LvSetItemData, list, MakeInt(5), MakeInt(8));
    EXPECT_EQ(CallLibrary(1, LvGetItemData, list, MakeInt(0)).asInt(), -3);
    EXPECT_EQ(CallLibrary(1, LvGetItemData, list, MakeInt(5)).asInt(), 0);
}

TEST_F(LvCommandsTest, DeletingRows) {
    for (const char* t : {"a", "b", "c"}) Append(t);
    CallLibrary(1, LvDeleteItem, list, MakeInt(3));
    CallLibrary(1, LvDeleteItem, list, MakeInt(-1));
    EXPECT_EQ(CallLibrary(1, LvItemCount, list).asInt(), 3);
    CallLibrary(1, LvDeleteItem, list, MakeInt(1));
    EXPECT_EQ(Cell(0, 0) + Cell(1, 0), "ac");
    CallLibrary(1, LvDeleteAll, list);
    EXPECT_EQ(CallLibrary(1, LvItemCount, list).asInt(), 0);
    EXPECT_EQ(Append("z"), 0);
}

TEST_F(LvCommandsTest, ColumnsOfTheTemplate) {
    EXPECT_EQ(CallLibrary(1, LvColumnCount, list).asInt(), 3);
    EXPECT_EQ(TakeText(CallLibrary(1, LvColumnTitle, list, MakeInt(2))), G("备注信息"));
    EXPECT_EQ(TakeText(CallLibrary(1, LvColumnTitle, list, MakeInt(3))), "");
    EXPECT_EQ(CallLibrary(1, LvColumnAlign, list, MakeInt(0)).asInt(), 0);
    EXPECT_EQ(CallLibrary(1, LvColumnAlign, list, MakeInt(1)).asInt(), 2);
    EXPECT_EQ(CallLibrary(1, LvColumnAlign, list, MakeInt(2)).asInt(), 1);
    EXPECT_EQ(CallLibrary(1, LvColumnWidth, list, MakeInt(1)).asInt(), 60);
    CallLibrary(1, LvSetColumnWidth, list, MakeInt(1), MakeInt(75));
    EXPECT_EQ(CallLibrary(1, LvColumnWidth, list, MakeInt(1)).asInt(), 75);
    CallLibrary(1, LvSetColumnWidth, list, MakeInt(7), MakeInt(75));  // no such column
    EXPECT_EQ(CallLibrary(1, LvColumnCount, list).asInt(), 3);
}

TEST_F(LvCommandsTest, FitWidthsAndTheLastColumnFillsTheRest) {
    Append("1");
    const std::string wide = G("这是一条很长很长的备注信息，比列标题宽得多");
    SetCell(0, 0, wide);
    auto width = [&](int32_t c) { return CallLibrary(1, LvColumnWidth, list, MakeInt(c)).asInt(); };

    // Omitted width fits the contents; -2 fits the header but never cuts a cell.
    CallLibrary(1, LvSetColumnWidth, list, MakeInt(0), kAbsent);
    const int32_t contents = width(0);
    EXPECT_GT(contents, 150);
    CallLibrary(1, LvSetColumnWidth, list, MakeInt(0), MakeInt(-2));
    EXPECT_EQ(width(0), contents);
    CallLibrary(1, LvSetColumnWidth, list, MakeInt(1), MakeInt(-2));
    const int32_t header = width(1);
    EXPECT_GT(header, 20);
    EXPECT_LT(header, 100);
    // Below -2 counts as -2.
    CallLibrary(1, LvSetColumnWidth, list, MakeInt(1), MakeInt(5));
    CallLibrary(1, LvSetColumnWidth, list, MakeInt(1), MakeInt(-40));
    EXPECT_EQ(width(1), header);

    // The last column takes what the others leave of the list's width.
    auto* view = control()->view();
    const int32_t available = view->width() - 2 * view->frameWidth();
    CallLibrary(1, LvSetColumnWidth, list, MakeInt(2), MakeInt(-2));
    EXPECT_EQ(width(0) + width(1) + width(2), available);
    CallLibrary(1, LvSetColumnWidth, list, MakeInt(2), MakeInt(-1));
    EXPECT_EQ(width(0) + width(1) + width(2), available);
    // ...unless its own contents need more.
    SetCell(0, 2, wide + wide + wide);
    CallLibrary(1, LvSetColumnWidth, list, MakeInt(2), MakeInt(-1));
    EXPECT_GT(width(0) + width(1) + width(2), available);
}

TEST_F(LvCommandsTest, LastColumnLeavesRoomForTheScrollBarOfALongList) {
    for (int i = 0; i < 200; ++i) Append(std::to_string(i));
    auto* view = control()->view();
    const int32_t available =
        view->width() - 2 * view->frameWidth() -
        view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view->verticalScrollBar());
    CallLibrary(1, LvSetColumnWidth, list, MakeInt(2), MakeInt(-2));
    int32_t sum = 0;
    for (int c = 0; c < 3; ++c) sum += CallLibrary(1, LvColumnWidth, list, MakeInt(c)).asInt();
    EXPECT_EQ(sum, available);
    EXPECT_FALSE(view->horizontalScrollBar()->isVisible() &&
                 view->horizontalScrollBar()->maximum() > 0);
}

TEST_F(LvCommandsTest, EnsureVisibleScrollsTheRowIntoView) {
    for (int i = 0; i < 500; ++i) Append(std::to_string(i));
    SettleEvents();
    auto* view = control()->view();
    CallLibrary(1, LvEnsureVisible, list, MakeInt(480));
    SettleEvents();
    const QRect row = view->visualRect(control()->model()->index(480, 0));
    EXPECT_TRUE(view->viewport()->rect().intersects(row));
    EXPECT_GT(view->verticalScrollBar()->value(), 0);
    CallLibrary(1, LvEnsureVisible, list, MakeInt(5000));  // no such row: nothing
}
