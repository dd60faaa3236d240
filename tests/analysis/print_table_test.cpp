// The print table as the settings window builds it, read from the table's cell
// model: the statistics row, line styles, colour schemes, the title font,
// column widths and alignment, the formula columns of one opening, the
// messages that end a build, and the expense list as the source.
#include "print_table.h"

#include <QFont>

#include "finance_test_support.h"
#include "forms/control.h"
#include "forms/properties.h"
#include "forms/report_list.h"
#include "forms/template_format.h"
#include "formula_columns.h"
#include "print_test_support.h"
#include "table/cell_model.h"

namespace tavrin::finance::testing {
namespace {

using table::CellModel;

class PrintTableTest : public PrintTest {
  protected:
    table::CellModel& Built() {
        EXPECT_NE(Preview(), nullptr);
        table::CellModel* t = Table();
        EXPECT_NE(t, nullptr);
        return *t;
    }
    void ClosePreview() {
        if (Preview()) Preview()->close();
        SettleEvents();
    }
};

// Serial numbers count rows: neither the added serial column nor the list's
// own "序号" is summed, the label keeps the first cell, and amounts print as
// money is written everywhere else.
TEST_F(PrintTableTest, TheStatisticsRowSumsAmountsButNeverSerialNumbers) {
    WriteAmounts({10.5f, 20.7f, 291.3333f});
    StartProgram();
    PreviewWith([&] {
        ClickIn(ids::SerialCheck);
        TickEntry(ids::PrintColumnList, "序号");
        TickEntry(ids::PrintColumnList, "收入金额");
        TickEntry(ids::PrintColumnList, "收入类型");
        ClickIn(ids::StatisticsSummaryRadio);  // every ticked column offered and ticked
        EXPECT_EQ(Entries(ids::StatisticsColumnList),
                  (std::vector<std::string>{"序号", "收入金额", "收入类型"}));
    });
    CellModel& t = Built();
    EXPECT_EQ(Cell(4, 1), "序号");
    EXPECT_EQ(Cell(4, 2), "序号");
    EXPECT_EQ(Cell(7, 3), "291.33");
    EXPECT_EQ(Row(8), (std::vector<std::string>{"统 计", "", "322.53", ""}));
    EXPECT_EQ(t.rowCount(), 8);
}

// The four line styles on the body (header row to the last row): 全部线 every
// line, 无线条 none, 外框线 the outline only, 内部线 the inner lines only.
TEST_F(PrintTableTest, LineStylesDrawAllNoneOutlineOrInnerLines) {
    WriteAmounts({1, 2, 3});
    StartProgram();
    struct Lines {
        bool top = true, bottom = true, left = true, right = true;
        bool anyInner = false, allInner = true;
        bool operator==(const Lines&) const = default;
    };
    auto read = [](const CellModel& t) {
        Lines l;
        const int32_t first = 3, last = t.rowCount() - 1, columns = t.columnCount();
        auto edge = [&](int32_t r, int32_t c, uint8_t e) { return (t.style(r, c).edges & e) != 0; };
        for (int32_t c = 0; c < columns; ++c) {
            l.top = l.top && edge(first, c, table::kEdgeTop);
            l.bottom = l.bottom && edge(last, c, table::kEdgeBottom);
        }
        for (int32_t r = first; r <= last; ++r) {
            l.left = l.left && edge(r, 0, table::kEdgeLeft);
            l.right = l.right && edge(r, columns - 1, table::kEdgeRight);
        }
        for (int32_t r = first; r <= last; ++r)
            for (int32_t c = 0; c < columns; ++c) {
                auto inner = [&](bool line) {
                    l.anyInner = l.anyInner || line;
                    l.allInner = l.allInner && line;
                };
                if (c + 1 < columns)
                    inner(edge(r, c, table::kEdgeRight) || edge(r, c + 1, table::kEdgeLeft));
                if (r < last)
                    inner(edge(r, c, table::kEdgeBottom) || edge(r + 1, c, table::kEdgeTop));
            }
        return l;
    };
    const struct {
        uint32_t radio;
        Lines lines;
    } styles[] = {
        {ids::LineStyle1Radio, {true, true, true, true, true, true}},
        {ids::LineStyle2Radio, {false, false, false, false, false, false}},
        {ids::LineStyle3Radio, {true, true, true, true, false, false}},
        {ids::LineStyle4Radio, {false, false, false, false, true, true}},
    };
    for (const auto& style : styles) {
        PreviewWith([&] {
            TickEntry(ids::PrintColumnList, "收入金额");
            TickEntry(ids::PrintColumnList, "收入类型");
            ClickIn(ids::CountSummaryRadio);
            ClickIn(style.radio);
        });
        EXPECT_TRUE(read(Built()) == style.lines) << std::hex << style.radio;
        ClosePreview();
    }
}

// 自带配色 paints the header and every body cell in its two colours; 自定义列
// paints columns 1, 3, ... in the odd colour and 2, 4, ... in the even one; the
// statistics row takes the header colour in both.
TEST_F(PrintTableTest, BuiltInAndColumnColorSchemesPaintEveryBodyCell) {
    WriteAmounts({1, 2, 3});
    StartProgram();
    auto choose = [&](uint32_t scheme) {
        PreviewWith([&] {
            for (const char* c : {"序号", "收入金额", "收入类型"})
                TickEntry(ids::PrintColumnList, c);
            ClickIn(ids::StatisticsSummaryRadio);
            ClickIn(scheme);
            if (scheme == ids::CustomColumnsCheck) {
                Get<forms::ColorPickerControl>(ids::ColumnHeaderColor)->setColor(0x778899);
                Get<forms::ColorPickerControl>(ids::OddColumnColor)->setColor(0x112233);
                Get<forms::ColorPickerControl>(ids::EvenColumnColor)->setColor(0x445566);
            }
        });
    };
    choose(ids::BuiltInColorsCheck);
    {
        const CellModel& t = Built();
        for (int32_t c = 0; c < 3; ++c) {
            EXPECT_EQ(t.style(3, c).backColor, 0xCEDFDEu) << c;
            for (int32_t r = 4; r <= 6; ++r) EXPECT_EQ(t.style(r, c).backColor, 0xDEEFEFu) << r;
            EXPECT_EQ(t.style(7, c).backColor, 0xCEDFDEu) << c;
        }
    }
    ClosePreview();
    choose(ids::CustomColumnsCheck);
    const CellModel& t = Built();
    for (int32_t c = 0; c < 3; ++c) {
        EXPECT_EQ(t.style(3, c).backColor, 0x778899u) << c;
        const uint32_t body = c % 2 == 0 ? 0x112233u : 0x445566u;  // column c + 1
        for (int32_t r = 4; r <= 6; ++r) EXPECT_EQ(t.style(r, c).backColor, body) << r << c;
        EXPECT_EQ(t.style(7, c).backColor, 0x778899u) << c;
    }
}

// The title takes the face, size × 3.3, colour and bold flag of the title
// font; the columns take the list's widths × 3.3 (cut to whole units) and the
// list's alignment for their data rows.
TEST_F(PrintTableTest, TitleFontColumnWidthsAndAlignmentComeFromTheirSources) {
    WriteAmounts({1, 2});
    StartProgram();
    auto* list = forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, ids::IncomeList);
    list->insertColumn(5, G("居中"), 81, 1);
    list->insertColumn(6, G("靠右"), 97, 2);
    list->setItemText(0, 5, "c");
    list->setItemText(0, 6, "r");
    std::vector<int32_t> widths;
    for (int32_t c = 0; c < 7; ++c) widths.push_back(list->columnWidth(c));
    for (bool bold : {true, false}) {
        PreviewWith([&] {
            for (const char* c :
                 {"序号", "收入金额", "收入类型", "收入时间", "备注信息", "居中", "靠右"})
                TickEntry(ids::PrintColumnList, c);
            ChooseTitleFont(15, bold);
            Get<forms::CommonDialogControl>(ids::TitleFontDialog)
                ->writeProperty(forms::DialogProp::kColor, forms::PropertyData::Int(0x0000FF));
            // A3 across: room for every column at its width.
            Get<forms::ComboControl>(ids::PaperCombo)->setCurrent(1);
            ClickIn(ids::LandscapeRadio);
        });
        const CellModel& t = Built();
        EXPECT_EQ(U(t.fontName(t.style(0, 0).fontName)), "WenQuanYi Micro Hei");
        EXPECT_EQ(t.style(0, 0).fontSize, 49);  // 15 × 3.3
        EXPECT_EQ(t.style(0, 0).textColor, 0x0000FFu);
        EXPECT_EQ(t.style(0, 0).format & 0x7800u, bold ? 0x0800u : 0u);
        for (int32_t c = 0; c < 7; ++c)
            EXPECT_EQ(t.columnWidth(c), int32_t(widths[size_t(c)] * 3.3)) << c;
        for (int32_t r = 4; r <= 5; ++r) {
            for (int32_t c = 0; c < 5; ++c) EXPECT_EQ(t.style(r, c).alignment, 1) << r << c;
            EXPECT_EQ(t.style(r, 5).alignment, 2);  // centred
            EXPECT_EQ(t.style(r, 6).alignment, 3);  // right
        }
        ClosePreview();
    }
}

// Formula columns belong to one opening of the settings window: the next one
// starts without them, and so does its print.
TEST_F(PrintTableTest, TheFormulaColumnsOfAnEarlierOpeningAreGone) {
    WriteAmounts({4});
    StartProgram();
    OpenSettings();
    TickEntry(ids::PrintColumnList, "收入金额");
    AddFormula("双倍", "[收入金额]*2");
    ASSERT_EQ(printing::FormulaColumns().size(), 1u);
    ClickIn(ids::PrintCancelButton);
    SettleEvents();
    PreviewWith([&] {
        EXPECT_TRUE(printing::FormulaColumns().empty());
        EXPECT_TRUE(Entries(ids::FormulaColumnList).empty());
        TickEntry(ids::PrintColumnList, "收入金额");
    });
    EXPECT_EQ(Built().columnCount(), 1);
}

// A source that is no report list, and a table component that keeps no cells
// (its provider only serves texts): each ends the build with its message.
TEST_F(PrintTableTest, ABuildEndsWithItsMessageWhenSourceOrTableIsWrong) {
    WriteAmounts({1});
    StartProgram();
    printing::PrintTableRequest request;
    request.sourceWindow = ids::MainWindow;
    request.sourceList = ids::IncomeAmountEdit;
    request.columns = {0};
    EXPECT_FALSE(printing::BuildPrintTable(request));
    auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "非报表型列表框，不能预览");
    EXPECT_EQ(shown[0].caption, "提示");
    EXPECT_EQ(shown[0].style & tavrin::kStyleIconMask, tavrin::kIconInformation);
    EXPECT_EQ(Preview(), nullptr);

    const forms::ControlKind general = *forms::FindControlKind(forms::TypeId::kGeneralProvider);
    forms::RegisterControlKind(forms::TypeId::kGeneralProvider,
                               *forms::FindControlKind(forms::TypeId::kDatabaseProvider));
    request.sourceList = ids::IncomeList;
    const bool built = printing::BuildPrintTable(request);
    forms::RegisterControlKind(forms::TypeId::kGeneralProvider, general);
    EXPECT_FALSE(built);
    shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "找不到打印表格模板！");
    EXPECT_EQ(shown[0].style & tavrin::kStyleIconMask, tavrin::kIconStop);
    EXPECT_EQ(Preview(), nullptr);
}

// On the expense page 打印表 prints the expense list: its columns, its rows.
TEST_F(PrintTableTest, TheExpensePagePrintsTheExpenseList) {
    WriteAmounts({1000});
    WriteExpenseFile(
        {{"餐饮", 35.5f, Days(2012, 3, 1), "午餐"}, {"交通", 12, Days(2012, 3, 2), ""}});
    StartProgram();
    ClickToolButton(5);
    SettleEvents();
    PreviewWith([&] {
        EXPECT_EQ(
            Entries(ids::PrintColumnList),
            (std::vector<std::string>{"序号", "支出金额", "支出类型", "支出时间", "备注信息"}));
        for (const char* c : {"支出金额", "支出类型", "备注信息"})
            TickEntry(ids::PrintColumnList, c);
    });
    Built();
    EXPECT_EQ(Table()->rowCount(), 6);
    EXPECT_EQ((std::vector<std::string>{Cell(4, 1), Cell(4, 2), Cell(4, 3)}),
              (std::vector<std::string>{"支出金额", "支出类型", "备注信息"}));
    EXPECT_EQ((std::vector<std::string>{Cell(5, 1), Cell(5, 2), Cell(5, 3)}),
              (std::vector<std::string>{"35.5", "餐饮", "午餐"}));
    EXPECT_EQ((std::vector<std::string>{Cell(6, 1), Cell(6, 2)}),
              (std::vector<std::string>{"12", "交通"}));
    EXPECT_EQ(Preview()->documentName().toStdString(), "支出明细");
}

}  // namespace
}  // namespace tavrin::finance::testing
