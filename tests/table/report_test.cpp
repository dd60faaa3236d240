// The report engine: paging by count and by height at two papers, merged
// blocks kept whole, oversized blocks alone, page numbers at the six places,
// and a 1,000-row table previewed and printed to a PDF that is rendered back.
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "app_constants.h"
#include "forms/bgr_color.h"
#include "runtime/kernel/registry_commands.h"
#include "table/print_preview.h"
#include "table/print_settings.h"
#include "table/report_layout.h"
#include "table/report_painter.h"
#include "table_fixture.h"

using namespace table_test;

namespace {

constexpr int32_t kColumns = 3;
constexpr uint32_t kHeaderColor = 0xCEDFDE, kOddColor = 0x80C0FF, kEvenColor = 0xFFE0C0;

class ReportTest : public TableTest {
  protected:
    // The print table's shape built as the print code builds it: the template,
    // three columns, n data rows, heights × 3, × 1.6, × 1.5, a thin rule row,
    // the title merged, lines and row colours on the body, four fixed rows.
    void BuildPrintTable(int32_t n) {
        const Value s = Source();
        ASSERT_TRUE(CallKernel(DsLoad, s,
                               MakeByteSetRef(
                                   reinterpret_cast<const ByteSetBlock*>(app::PrintTableTemplate)))
                        .asBool());
        CallKernel(DsAddColumns, s, Int(2), Int(kColumns - 1));
        CallKernel(DsAppendRows, s, Int(n));
        const int32_t h = CallKernel(DsRowHeight, s, Int(1)).asInt();
        CallKernel(DsInsertRows, s, Int(1), kAbsent, Int(h * 3));
        CallKernel(DsInsertRows, s, Int(3), kAbsent, Int(1));
        CallKernel(DsInsertRows, s, Int(4), kAbsent, Int(int32_t(h * 1.6)));
        CallKernel(DsInsertRows, s, Int(5), Int(n), Int(int32_t(h * 1.5)));
        for (int32_t c = 1; c <= kColumns; ++c)
            CallKernel(DsInsertColumns, s, Int(c), kAbsent, Int(330));
        CallKernel(DsMergeCells, s, Int(1), Int(1), kAbsent, Int(kColumns));
        CallKernel(DsMergeCells, s, Int(2), Int(1), kAbsent, Int(kColumns));
        CallKernel(DsSetCellText, s, Int(1), Int(1), MakeTextRef(G("收入明细表").c_str()));
        CallKernel(DsSetFontSize, s, Int(1), Int(1), kAbsent, kAbsent, Int(100));
        CallKernel(DsSetAlignment, s, Int(1), Int(1), kAbsent, kAbsent, Int(2));
        CallKernel(DsSetCellText, s, Int(2), Int(1),
                   MakeTextRef(G("打印日期:2026年12月8日").c_str()));
        CallKernel(DsSetBackColor, s, Int(3), Int(1), kAbsent, Int(kColumns), Int(0));
        for (int32_t c = 1; c <= kColumns; ++c)
            CallKernel(DsSetCellText, s, Int(4), Int(c),
                       MakeTextRef(G("列" + std::to_string(c)).c_str()));
        std::string text;
        for (int32_t i = 1; i <= n; ++i)
            for (int32_t c = 1; c <= kColumns; ++c) {
                text = std::to_string(i * 10 + c);
                CallKernel(DsSetCellText, s, Int(4 + i), Int(c), MakeTextRef(text.c_str()));
            }
        CallKernel(DsSetBorders, s, Int(4), Int(1), Int(n + 1), Int(kColumns), Int(48));
        CallKernel(DsSetBackColor, s, Int(4), Int(1), kAbsent, Int(kColumns), Int(kHeaderColor));
        for (int32_t i = 1; i <= n; ++i)
            CallKernel(DsSetBackColor, s, Int(4 + i), Int(1), kAbsent, Int(kColumns),
                       Int(i % 2 ? kOddColor : kEvenColor));
        CallKernel(DsSetFontSize, s, Int(4), Int(1), Int(n + 1), Int(kColumns), Int(30));
        CallKernel(DsSetCellFormat, s, Int(4), Int(1), kAbsent, Int(kColumns), Int(1));
        CallKernel(DsSetFixedRows, s, Int(4));
    }

    ReportLayout Layout(int32_t paper, int32_t rowsPerPage) {
        PrintSettings settings;
        settings.paper = paper;
        settings.rowsPerPage = rowsPerPage;
        return LayOutReport(Model(), settings);
    }
};

std::vector<int32_t> Counts(const ReportLayout& layout) {
    std::vector<int32_t> out;
    for (const PageRows& p : layout.pages) out.push_back(p.count);
    return out;
}

TEST_F(ReportTest, RowsPerPageAndPagingByHeightAtTwoPapers) {
    BuildPrintTable(100);
    // 25 rows a page after the four fixed rows.
    ReportLayout by25 = Layout(2, 25);
    EXPECT_EQ(by25.fixedRows, 4);
    ASSERT_EQ(Counts(by25), (std::vector<int32_t>{25, 25, 25, 25}));
    EXPECT_EQ(by25.pages[1].first, 29);

    // A4: 2970 − 360 margins − 281 fixed = 2329 units, 31 rows of 75.
    EXPECT_EQ(Counts(Layout(2, 0)), (std::vector<int32_t>{31, 31, 31, 7}));
    // A5: 2100 − 360 − 281 = 1459 units, 19 rows.
    EXPECT_EQ(Counts(Layout(3, 0)), (std::vector<int32_t>{19, 19, 19, 19, 19, 5}));
    // Landscape A4: 2100 high, the same as A5 portrait.
    PrintSettings landscape;
    landscape.paper = 2;
    landscape.orientation = 1;
    EXPECT_EQ(LayOutReport(Model(), landscape).pageCount(), 6);
}

TEST_F(ReportTest, AMergedBlockIsNeverSplitAndAnOversizedOneHasAPageOfItsOwn) {
    BuildPrintTable(200);
    // Data rows 30–34 joined (they would straddle the end of page 1 at row 31).
    CallKernel(DsMergeCells, Source(), Int(4 + 30), Int(2), Int(5), kAbsent);
    ReportLayout layout = Layout(2, 0);
    ASSERT_GE(layout.pageCount(), 2);
    EXPECT_EQ(layout.pages[0].count, 29);
    EXPECT_EQ(layout.pages[1].first, 4 + 29);

    // 40 joined rows (3000 units) do not fit any page: alone on one.
    CallKernel(DsMergeCells, Source(), Int(4 + 100), Int(1), Int(40), kAbsent);
    layout = Layout(2, 0);
    int found = 0;
    for (size_t i = 0; i < layout.pages.size(); ++i) {
        const PageRows& p = layout.pages[i];
        if (p.first <= 4 + 99 && p.first + p.count > 4 + 99) {
            ++found;
            EXPECT_EQ(p.first, 4 + 99);
            EXPECT_EQ(p.count, 40);
            EXPECT_EQ(layout.pages[i - 1].first + layout.pages[i - 1].count, 4 + 99);
        }
    }
    EXPECT_EQ(found, 1);
    // No page of the layout ends inside a merge.
    for (const PageRows& p : layout.pages)
        for (const CellRange& m : Model().merges())
            EXPECT_FALSE(m.row >= 4 && m.row < p.first + p.count &&
                         m.lastRow() >= p.first + p.count);
}

// The box of the dark pixels drawn outside the printable area, in units.
QRect InkOutsideTable(const CellModel& model, const ReportLayout& layout,
                      const PrintSettings& settings) {
    constexpr double kScale = 0.5;
    QImage page(QSize(int(layout.geometry.paper.width() * kScale),
                      int(layout.geometry.paper.height() * kScale)),
                QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter p(&page);
        p.scale(kScale, kScale);
        DrawReportPage(p, model, layout, settings, 0);
    }
    QRect ink;
    // The table's outer lines straddle the printable area's edge.
    const QRect printable = layout.geometry.printable.adjusted(-4, -4, 4, 4);
    const QRect table(printable.topLeft() * kScale, printable.size() * kScale);
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (!table.contains(x, y) && qGray(page.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
    return QRect(ink.topLeft() / kScale, ink.size() / kScale);
}

TEST_F(ReportTest, PageNumbersSitAtTheSixPlacesAndNowhereWithoutOne) {
    BuildPrintTable(10);
    PrintSettings settings;
    settings.paper = 2;
    const ReportLayout layout = LayOutReport(Model(), settings);
    const QRect printable = layout.geometry.printable;
    EXPECT_TRUE(InkOutsideTable(Model(), layout, settings).isEmpty());
    for (int32_t position = 1; position <= 6; ++position) {
        settings.pageNumberPosition = position;
        const QRect ink = InkOutsideTable(Model(), layout, settings);
        ASSERT_FALSE(ink.isEmpty()) << position;
        EXPECT_LE(ink.height(), 40) << position;
        if (position <= 3) {
            EXPECT_LE(ink.bottom(), printable.top() - 40) << position;
            EXPECT_GE(ink.top(), printable.top() - 80 - 4) << position;
        } else {
            EXPECT_GE(ink.top(), printable.bottom() + 40) << position;
            EXPECT_LE(ink.bottom(), printable.bottom() + 80 + 4) << position;
        }
        const int middle = ink.center().x();
        switch ((position - 1) % 3) {
            case 0:
                EXPECT_LE(std::abs(ink.left() - printable.left()), 8) << position;
                break;
            case 1:
                EXPECT_LE(std::abs(middle - printable.center().x()), 8) << position;
                break;
            case 2:
                EXPECT_LE(std::abs(ink.right() - printable.right()), 8) << position;
                break;
        }
    }
}

QString RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

PrintPreviewWindow* OpenPreview() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* preview = qobject_cast<PrintPreviewWindow*>(w); preview && preview->isVisible())
            return preview;
    return nullptr;
}

TEST_F(ReportTest, AThousandRowsPreviewAndPrintToAPdfWithTitleLinesAndColors) {
    BuildPrintTable(1000);
    PrintSettings settings;
    settings.paper = 2;
    settings.pageNumberPosition = 5;
    ASSERT_EQ(CallKernel(DsPrintSettings, Source(), MakePrintSettingsValue(&settings)).asInt(), 1);
    const int32_t pages = CallKernel(DsPrintPreview, Source()).asInt();
    EXPECT_EQ(pages, 33);  // ⌈1000 / 31⌉
    SettleEvents();
    QPointer<PrintPreviewWindow> preview = OpenPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("打印预览"));
    EXPECT_EQ(preview->pageCount(), pages);
    preview->grab();  // draws what is in sight
    EXPECT_GE(preview->pageView()->pagesDrawn(), 1);
    EXPECT_LE(preview->pageView()->pagesDrawn(), 4);  // only the pages in sight

    std::vector<DialogRequest> asked;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("表格.pdf"));
    // The folder of a PDF file is remembered in the settings: a store of the test's own.
    SetSettingsDirectory(dir.filePath(QStringLiteral("config")).toStdString());
    SetDialogResponder([&](const DialogRequest& r) -> std::optional<DialogReply> {
        asked.push_back(r);
        DialogReply reply;
        reply.accepted = true;
        if (r.kind == "input") reply.fields["value"] = "2";
        if (r.kind == "print") reply.fields["output"] = pdf.toStdString();
        if (r.kind == "save-file") reply.fields["file"] = pdf.toStdString();  // no printer
        return reply;
    });
    preview->askPageJump();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].fields["prompt"], "请输入欲跳转到页号(1-33):");
    EXPECT_EQ(preview->pageView()->currentPage(), 1);

    ASSERT_TRUE(preview->print());
    EXPECT_EQ(preview->progressText(), QStringLiteral("正在打印第 1/1 份 33/33 页到 %1 ").arg(pdf));
    EXPECT_TRUE(
        RunTool(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression("Pages:\\s+33\\n")));
    // The fixed rows head every page; the page number sits below.
    for (int page : {1, 2, 33}) {
        const QString text =
            RunTool(QStringLiteral("pdftotext"),
                    {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                     QString::number(page), pdf, QStringLiteral("-")});
        EXPECT_TRUE(text.contains(QStringLiteral("收入明细表"))) << page;
        EXPECT_TRUE(text.contains(QStringLiteral("列3"))) << page;
        // The text tool may put the page number's words on lines of their own.
        QString words = text;
        words.remove(QRegularExpression(QStringLiteral("\\s")));
        EXPECT_TRUE(words.contains(QStringLiteral("第%1页").arg(page))) << page;
    }

    // Page 2 at 150 dpi: its first data row is row 32 (even), below the fixed rows.
    const QString png = dir.filePath(QStringLiteral("page2"));
    RunTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("150"), QStringLiteral("-f"), QStringLiteral("2"),
             QStringLiteral("-l"), QStringLiteral("2"), QStringLiteral("-png"),
             QStringLiteral("-singlefile"), pdf, png});
    const QImage image(png + QStringLiteral(".png"));
    ASSERT_FALSE(image.isNull());
    const double px = 150.0 / 254.0;
    auto at = [&](double xUnits, double yUnits) {
        return image.pixelColor(int(xUnits * px), int(yUnits * px));
    };
    const double firstRowTop = 180 + 150 + 50 + 1 + 80, rowMiddle = firstRowTop + 75 / 2.0;
    const QColor even = forms::ColorFromBgr(kEvenColor);
    const QColor cell = at(180 + 330 + 300, rowMiddle);  // right end of column 2, past its text
    EXPECT_LE(std::abs(cell.red() - even.red()) + std::abs(cell.green() - even.green()) +
                  std::abs(cell.blue() - even.blue()),
              12)
        << cell.name().toStdString();
    int darkest = 255;  // the line between columns 1 and 2
    for (int dx = -2; dx <= 2; ++dx)
        darkest =
            std::min(darkest, qGray(image.pixel(int((180 + 330) * px) + dx, int(rowMiddle * px))));
    EXPECT_LT(darkest, 80);
    image.save(dir.path() + QStringLiteral("/../table_page2.png"));

    preview->close();
    SettleEvents();
    EXPECT_TRUE(preview.isNull());
    EXPECT_EQ(OpenPreview(), nullptr);
    SetSettingsDirectory("");
}

}  // namespace
