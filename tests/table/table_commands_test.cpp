// The data source commands through the command layer: 1-based arguments,
// defaults, ranges beyond the table, overlapping merges, borders, the stored
// layout (the built-in print template and damaged copies of it), and size.
#include <malloc.h>

#include <QTableView>
#include <cstring>

#include "app_constants.h"
#include "table/print_settings.h"
#include "table_fixture.h"

using namespace table_test;

namespace {

Value ByteSet(const std::string& bytes, std::string& keep) {
    keep.assign(8, '\0');
    const uint32_t header[2] = {1, uint32_t(bytes.size())};
    std::memcpy(keep.data(), header, 8);
    keep += bytes;
    return MakeByteSetRef(reinterpret_cast<const ByteSetBlock*>(keep.data()));
}

const ByteSetBlock* BuiltInTemplate() {
    return reinterpret_cast<const ByteSetBlock*>(app::PrintTableTemplate);
}

using TableCommandsTest = TableTest;

TEST_F(TableCommandsTest, WithoutAProviderQueriesGiveZeroAndChangesNothing) {
    const Value lonely =
        MakeControlRef(ids::TableWindow, ids::Lonely, forms::TypeId::kTableDataSource);
    EXPECT_EQ(CallKernel(DsRowCount, lonely).asInt(), 0);
    EXPECT_EQ(CallKernel(DsColumnCount, lonely).asInt(), 0);
    EXPECT_EQ(CallKernel(DsRowHeight, lonely, Int(1)).asInt(), 0);
    EXPECT_EQ(CallKernel(DsAppendRows, lonely, kAbsent).asInt(), 0);
    EXPECT_EQ(CallKernel(DsCellText, lonely, Int(1), Int(1)).asText(), nullptr);
    CallKernel(DsSetCellText, lonely, Int(1), Int(1), MakeTextRef("x"));
    EXPECT_FALSE(CallKernel(DsLoad, lonely, MakeByteSetRef(BuiltInTemplate())).asBool());
    EXPECT_EQ(CallKernel(DsPrintPreview, lonely).asInt(), 0);
}

TEST_F(TableCommandsTest, TheBuiltInTemplateLoadsAndEveryDamagedCopyIsRefusedWhole) {
    ASSERT_TRUE(CallKernel(DsLoad, Source(), MakeByteSetRef(BuiltInTemplate())).asBool());
    EXPECT_EQ(CallKernel(DsRowCount, Source()).asInt(), 4);
    EXPECT_EQ(CallKernel(DsColumnCount, Source()).asInt(), 1);
    const int32_t h = CallKernel(DsRowHeight, Source(), Int(1)).asInt();
    EXPECT_EQ(h, 50);
    EXPECT_EQ(CallKernel(DsCellHeight, Source(), Int(4), Int(1)).asInt(), h);
    EXPECT_EQ(Model().defaultFontName(), G("宋体"));

    // Cut short at every byte and with every byte changed: never a crash, and a
    // refused layout leaves the loaded table as it was.
    const std::string good(reinterpret_cast<const char*>(BuiltInTemplate()->data()),
                           BuiltInTemplate()->length);
    CallKernel(DsAppendRows, Source(), Int(3));
    std::string keep;
    int refused = 0;
    for (size_t cut = 0; cut < good.size(); ++cut) {
        const bool ok = CallKernel(DsLoad, Source(), ByteSet(good.substr(0, cut), keep)).asBool();
        refused += !ok;
        EXPECT_EQ(CallKernel(DsRowCount, Source()).asInt(), ok ? 4 : 7) << "cut at " << cut;
        if (ok) CallKernel(DsAppendRows, Source(), Int(3));
    }
    int damagedRefused = 0;
    for (size_t at = 0; at < good.size(); ++at) {
        std::string bad = good;
        bad[at] = char(bad[at] ^ 0x5A);
        const int32_t rows = CallKernel(DsRowCount, Source()).asInt();
        const bool ok = CallKernel(DsLoad, Source(), ByteSet(bad, keep)).asBool();
        damagedRefused += !ok;
        EXPECT_TRUE(ok || CallKernel(DsRowCount, Source()).asInt() == rows) << "byte " << at;
    }
    EXPECT_GT(damagedRefused, int(good.size()) / 2);
    EXPECT_GT(refused, int(good.size()) / 2);
    EXPECT_FALSE(CallKernel(DsLoad, Source(), MakeTextRef("TVTABLE 1\ntable 4 1\n")).asBool());
    EXPECT_FALSE(
        CallKernel(DsLoad, Source(), ByteSet("TVTABLE 1\ntable 2 2\ntext 3 1 x\n", keep)).asBool());
}

TEST_F(TableCommandsTest, ArgumentsAreOneBasedWithTheirDefaultsAndRangesAreClipped) {
    ASSERT_TRUE(CallKernel(DsLoad, Source(), MakeByteSetRef(BuiltInTemplate())).asBool());
    // Rows and columns added: the count operations answer the new counts.
    EXPECT_EQ(CallKernel(DsAddColumns, Source(), Int(2), Int(2)).asInt(), 3);
    EXPECT_EQ(CallKernel(DsAppendRows, Source(), kAbsent).asInt(), 5);
    EXPECT_EQ(CallKernel(DsAppendRows, Source(), Int(3)).asInt(), 8);
    EXPECT_EQ(CallKernel(DsAddRows, Source(), Int(2), kAbsent).asInt(), 9);
    EXPECT_EQ(CallKernel(DsAddRows, Source(), Int(100), Int(2)).asInt(), 11);  // after the last

    CallKernel(DsSetCellText, Source(), Int(1), Int(1), MakeTextRef(G("标题").c_str()));
    CallKernel(DsSetCellText, Source(), Int(5), Int(3), MakeDouble(12.5));
    CallKernel(DsSetCellText, Source(), Int(12), Int(1), MakeTextRef("outside"));
    EXPECT_EQ(Model().text(0, 0), G("标题"));
    EXPECT_EQ(TakeText(CallKernel(DsCellText, Source(), Int(5), Int(3))), "12.5");
    EXPECT_EQ(TakeText(CallKernel(DsCellText, Source(), Int(0), Int(1))), "");

    // Sizes: three times the queried height for row 1, a height for rows
    // beyond the end adds them; widths the same way.
    const int32_t h = CallKernel(DsRowHeight, Source(), Int(1)).asInt();
    CallKernel(DsInsertRows, Source(), Int(1), kAbsent, Int(h * 3));
    CallKernel(DsInsertRows, Source(), Int(11), Int(3), Int(75));
    EXPECT_EQ(CallKernel(DsRowCount, Source()).asInt(), 13);
    EXPECT_EQ(Model().rowHeight(0), 150);
    EXPECT_EQ(Model().rowHeight(1), 50);
    EXPECT_EQ(Model().rowHeight(12), 75);
    CallKernel(DsInsertColumns, Source(), Int(1), kAbsent, Int(130));
    CallKernel(DsInsertColumns, Source(), Int(2), Int(3), Int(330));
    EXPECT_EQ(CallKernel(DsColumnCount, Source()).asInt(), 4);
    EXPECT_EQ(Model().columnWidth(0), 130);
    EXPECT_EQ(Model().columnWidth(3), 330);

    // Attribute defaults: no colour, font size 40, alignment 1, format field 0.
    CallKernel(DsSetBackColor, Source(), Int(5), Int(1), kAbsent, kAbsent, Int(0x00FF00));
    EXPECT_EQ(Model().style(4, 0).backColor, 0x00FF00u);
    EXPECT_EQ(Model().style(4, 1).backColor, kDefaultColor);  // default column count 1
    CallKernel(DsSetBackColor, Source(), Int(5), Int(1), kAbsent, kAbsent, kAbsent);
    EXPECT_EQ(Model().style(4, 0).backColor, kDefaultColor);
    CallKernel(DsSetFontSize, Source(), Int(4), Int(1), Int(1), Int(99), kAbsent);
    EXPECT_EQ(Model().style(3, 3).fontSize, 40);  // the range was clipped to the table
    CallKernel(DsSetAlignment, Source(), Int(4), Int(2), kAbsent, kAbsent, Int(15));
    EXPECT_EQ(Model().style(3, 1).alignment, 1);
    CallKernel(DsSetAlignment, Source(), Int(4), Int(2), kAbsent, kAbsent, Int(3));
    EXPECT_EQ(Model().style(3, 1).alignment, 3);
    CallKernel(DsSetCellFormat, Source(), Int(4), Int(1), Int(1), Int(4), Int(0x11));
    EXPECT_EQ(Model().style(3, 2).format, 0x0800u);  // low 4 bits under 0x7800
    CallKernel(DsSetTextColor, Source(), Int(1), Int(1), kAbsent, kAbsent, kAbsent);
    EXPECT_EQ(Model().style(0, 0).textColor, 0u);
    CallKernel(DsSetFontName, Source(), Int(1), Int(1), kAbsent, kAbsent,
               MakeTextRef(G("黑体").c_str()));
    EXPECT_EQ(Model().fontName(Model().style(0, 0).fontName), G("黑体"));
    // Ranges wholly outside the table, or of no cells, change nothing.
    CallKernel(DsSetBackColor, Source(), Int(40), Int(1), kAbsent, kAbsent, Int(5));
    CallKernel(DsSetBackColor, Source(), Int(1), Int(1), Int(0), kAbsent, Int(5));
    for (int32_t r = 0; r < Model().rowCount(); ++r)
        EXPECT_EQ(Model().style(r, 0).backColor, kDefaultColor);

    // Fixed rows: 4, then the default (-1) leaves none.
    CallKernel(DsSetFixedRows, Source(), Int(4));
    EXPECT_EQ(Model().fixedRows(), 4);
    CallKernel(DsSetFixedRows, Source(), kAbsent);
    EXPECT_EQ(Model().fixedRows(), 0);

    PrintSettings settings;
    settings.paper = 3;
    settings.rowsPerPage = 25;
    EXPECT_EQ(CallKernel(DsPrintSettings, Source(), MakePrintSettingsValue(&settings)).asInt(), 1);
    EXPECT_EQ(CallKernel(DsPrintSettings, Source(), Int(3)).asInt(), 0);
    auto* source = forms::FindControlAs<DataSourceControl>(ids::TableWindow, ids::Source);
    EXPECT_EQ(source->printSettings().paper, 3);
    EXPECT_EQ(source->printSettings().rowsPerPage, 25);
}

TEST_F(TableCommandsTest, AMergeDissolvesTheMergesItOverlapsAndTheGridShowsTheSpans) {
    ASSERT_TRUE(CallKernel(DsLoad, Source(), MakeByteSetRef(BuiltInTemplate())).asBool());
    CallKernel(DsAddColumns, Source(), Int(2), Int(3));
    CallKernel(DsAppendRows, Source(), Int(6));
    CallKernel(DsMergeCells, Source(), Int(1), Int(1), kAbsent, Int(4));  // the title row
    CallKernel(DsMergeCells, Source(), Int(5), Int(1), Int(3), Int(2));
    CallKernel(DsMergeCells, Source(), Int(6), Int(2), Int(3), Int(2));  // overlaps the one above
    CallKernel(DsMergeCells, Source(), Int(9), Int(4), Int(5),
               Int(5));  // beyond the table: clipped
    CallKernel(DsMergeCells, Source(), Int(2), Int(2), kAbsent, kAbsent);  // one cell: nothing
    const std::vector<CellRange> expected{{0, 0, 1, 4}, {5, 1, 3, 2}, {8, 3, 2, 1}};
    EXPECT_EQ(Model().merges(), expected);
    CallKernel(DsInsertRows, Source(), Int(6), Int(3), Int(70));
    EXPECT_EQ(CallKernel(DsCellHeight, Source(), Int(7), Int(3)).asInt(), 210);
    EXPECT_EQ(CallKernel(DsCellHeight, Source(), Int(5), Int(1)).asInt(), 50);

    SettleEvents();  // the grid catches up once events run
    auto* grid =
        qobject_cast<QTableView*>(forms::FindControl(ids::TableWindow, ids::Grid)->widget());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->model()->rowCount(), 10);
    EXPECT_EQ(grid->columnSpan(0, 0), 4);
    EXPECT_EQ(grid->rowSpan(5, 1), 3);
    EXPECT_EQ(grid->rowSpan(4, 0), 1);
}

TEST_F(TableCommandsTest, BordersAreSetAndClearedBySideBits) {
    ASSERT_TRUE(CallKernel(DsLoad, Source(), MakeByteSetRef(BuiltInTemplate())).asBool());
    CallKernel(DsAddColumns, Source(), Int(2), Int(2));                           // 4 × 3
    CallKernel(DsSetBorders, Source(), Int(2), Int(1), Int(3), Int(3), Int(16));  // the frame
    EXPECT_EQ(Model().style(1, 0).edges, kEdgeLeft | kEdgeTop);
    EXPECT_EQ(Model().style(2, 1).edges, 0);
    EXPECT_EQ(Model().style(3, 2).edges, kEdgeRight | kEdgeBottom);
    CallKernel(DsSetBorders, Source(), Int(2), Int(1), Int(3), Int(3), Int(32));  // inner lines too
    EXPECT_EQ(Model().style(2, 1).edges, kEdgeRight | kEdgeBottom);
    // Clearing the inner lines of one row takes them from both sides of each line.
    CallKernel(DsClearBorders, Source(), Int(3), Int(1), Int(1), Int(3), Int(32));
    EXPECT_EQ(Model().style(2, 1).edges, kEdgeBottom);
    EXPECT_EQ(Model().style(2, 0).edges, kEdgeLeft | kEdgeBottom);
    // Single sides and the diagonal.
    CallKernel(DsSetBorders, Source(), Int(1), Int(1), kAbsent, kAbsent, Int(8 | 256));
    EXPECT_EQ(Model().style(0, 0).edges, kEdgeBottom | kEdgeDiagonal);
    CallKernel(DsClearBorders, Source(), Int(1), Int(1), Int(9), Int(9), Int(1 | 2 | 4 | 8 | 256));
    for (int32_t r = 0; r < 4; ++r)
        for (int32_t c = 0; c < 3; ++c) EXPECT_EQ(Model().style(r, c).edges, 0) << r << "," << c;
}

TEST_F(TableCommandsTest, AHundredThousandRowTableCostsAFewHundredBytesARow) {
    const size_t before = mallinfo2().uordblks;
    ASSERT_TRUE(CallKernel(DsLoad, Source(), MakeByteSetRef(BuiltInTemplate())).asBool());
    CallKernel(DsAddColumns, Source(), Int(2), Int(5));
    CallKernel(DsAppendRows, Source(), Int(100'000));
    char text[32];
    for (int32_t r = 5; r <= 100'004; ++r)
        for (int32_t c = 1; c <= 6; ++c) {
            std::snprintf(text, sizeof text, "%d.%02d", r * 7, c);
            CallKernel(DsSetCellText, Source(), Int(r), Int(c), MakeTextRef(text));
        }
    CallKernel(DsSetBackColor, Source(), Int(5), Int(1), Int(100'000), Int(6), Int(0xDEEFEF));
    CallKernel(DsSetBorders, Source(), Int(4), Int(1), Int(100'001), Int(6), Int(48));
    const size_t after = mallinfo2().uordblks;
    EXPECT_EQ(TakeText(CallKernel(DsCellText, Source(), Int(100'004), Int(6))), "700028.06");
    EXPECT_LT((after - before) / 100'000, 400u);
}

}  // namespace
