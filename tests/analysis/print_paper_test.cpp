// Printed pages looked at: PDFs written through the preview, rendered with
// pdftoppm and read with pdftotext. The title whole above a narrow table, the
// remark once after the last row, body text of at least 8 pt at the default
// settings, and the PDF file the person names (for tables and charts alike).
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>

#include "finance_test_support.h"
#include "forms/page_control.h"
#include "print_test_support.h"
#include "runtime/gbk.h"
#include "table/cell_model.h"
#include "table/report_painter.h"

namespace tavrin::finance::testing {
namespace {

class PrintPaperTest : public PrintTest {
  protected:
    void SetUp() override {
        PrintTest::SetUp();
        if (QStandardPaths::findExecutable("pdftoppm").isEmpty() ||
            QStandardPaths::findExecutable("pdftotext").isEmpty())
            GTEST_SKIP() << "poppler's pdftoppm and pdftotext are needed";
    }
    QString Out(const char* name) { return QString::fromStdString(dir()) + "/" + name; }
    // Page `page` (1-based) of a PDF as an image of `dpi`.
    QImage Render(const QString& pdf, int page, int dpi) {
        const QString base = Out("rendered");
        QProcess::execute("pdftoppm",
                          {"-r", QString::number(dpi), "-f", QString::number(page), "-l",
                           QString::number(page), "-png", "-singlefile", pdf, base});
        return QImage(base + ".png");
    }
};

bool Dark(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 128;
}

// The leftmost and rightmost inked columns between two heights.
std::pair<int, int> InkSpan(const QImage& image, int top, int bottom) {
    int left = image.width(), right = -1;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Dark(image, x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

// A one-column table under a long title and the date line: both lines are
// printed whole across the page, not cut to the table's width.
TEST_F(PrintPaperTest, TitleAndDateLineStayWholeAboveAOneColumnTable) {
    WriteAmounts({12.5f, 30});
    StartProgram();
    const std::string title = "二〇二六年十二月家庭收入明细";
    PreviewWith([&] {
        Type(ids::PrintTitleEdit, title);
        TickEntry(ids::PrintColumnList, "收入金额");
        Get<forms::ComboControl>(ids::PaperCombo)->setCurrent(2);  // A4
    });
    ASSERT_NE(Preview(), nullptr);
    const table::CellModel& t = *Table();
    ASSERT_EQ(t.columnCount(), 1);
    const QString pdf = Out("title.pdf");
    ASSERT_TRUE(PrintPreviewTo(pdf));
    const int dpi = 100;
    const QImage page = Render(pdf, 1, dpi);
    ASSERT_FALSE(page.isNull());
    if (const char* keep = std::getenv("TAVRIN_KEEP_PDF")) page.save(QString(keep) + "_title.png");
    const double perUnit = dpi / 254.0;  // pixels per 0.1 mm
    // Each line's glyphs as wide as its text at its size (the report engine's face).
    auto textWidth = [&](int32_t row) {
        const table::CellStyle& s = t.style(row, 0);
        QFont font = table::CellFont(t, s);
        font.setPixelSize(s.fontSize > 0 ? s.fontSize : t.defaultFontSize());
        return QFontMetricsF(font).horizontalAdvance(GbkToQString(t.text(row, 0))) * perUnit;
    };
    const int top = int(180 * perUnit);
    const int titleBottom = int((180 + t.rowHeight(0)) * perUnit);
    const int dateBottom = int((180 + t.rowHeight(0) + t.rowHeight(1)) * perUnit);
    const auto [titleLeft, titleRight] = InkSpan(page, top, titleBottom);
    const auto [dateLeft, dateRight] = InkSpan(page, titleBottom + 1, dateBottom);
    const double tableWidth = t.columnWidth(0) * perUnit;
    EXPECT_GT(textWidth(0), tableWidth);  // the title is wider than the table
    EXPECT_GE(titleRight - titleLeft, textWidth(0) * 0.9);
    EXPECT_GE(dateRight - dateLeft, textWidth(1) * 0.9);
    EXPECT_TRUE(PageTexts(pdf).value(0).contains(QString::fromStdString(title)));
}

// With 每页行数 3 the remark follows the last row once, on the last page, as
// one block merged over all but the last column.
TEST_F(PrintPaperTest, TheRemarkPrintsOnceAfterTheLastRowWithThreeRowsAPage) {
    WriteAmounts({1, 2, 3, 4, 5, 6, 7, 8});
    StartProgram();
    PreviewWith([&] {
        TickEntry(ids::PrintColumnList, "收入金额");
        TickEntry(ids::PrintColumnList, "收入类型");
        Type(ids::RowsPerPageEdit, "3");
        Type(ids::PrintRemarkEdit, "审核人: 张三");
        ClickIn(ids::CountSummaryRadio);
    });
    ASSERT_NE(Preview(), nullptr);
    const table::CellModel& t = *Table();
    ASSERT_EQ(t.rowCount(), 4 + 8 + 1 + 3);
    EXPECT_EQ(Cell(14, 1), "审核人: 张三");
    EXPECT_NE(std::find(t.merges().begin(), t.merges().end(), table::CellRange{13, 0, 3, 1}),
              t.merges().end());
    std::vector<std::pair<int32_t, int32_t>> pages;
    for (const table::PageRows& p : Preview()->reportLayout().pages)
        pages.push_back({p.first, p.count});
    // Rows 5–7, 8–10, then the last two items and the count line, which fill
    // the page, with the remark after them rather than on a page of its own.
    EXPECT_EQ(pages, (std::vector<std::pair<int32_t, int32_t>>{{4, 3}, {7, 3}, {10, 6}}));

    const QString pdf = Out("remark.pdf");
    ASSERT_TRUE(PrintPreviewTo(pdf));
    const QStringList texts = PageTexts(pdf);
    ASSERT_EQ(texts.size(), 3);
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(texts[p].count(QStringLiteral("审核人")), p == 2 ? 1 : 0) << "page " << p + 1;
    EXPECT_LT(texts[2].indexOf(QStringLiteral("合计共")),
              texts[2].indexOf(QStringLiteral("审核人")));
}

// Heights of the text lines of a printed body: ink rows grouped into runs,
// the table's lines (long dark rows and columns) left out.
std::vector<int> TextLineHeights(const QImage& page, int top, int bottom) {
    std::vector<bool> ruleColumn(size_t(page.width()), false);
    for (int x = 0; x < page.width(); ++x) {
        int dark = 0;
        for (int y = top; y < bottom; ++y) dark += Dark(page, x, y);
        ruleColumn[size_t(x)] = dark > (bottom - top) * 8 / 10;
    }
    std::vector<int> heights;
    int run = 0;
    for (int y = top; y < bottom; ++y) {
        int dark = 0, widest = 0, current = 0;
        for (int x = 0; x < page.width(); ++x) {
            const bool ink = !ruleColumn[size_t(x)] && Dark(page, x, y);
            dark += ink;
            current = ink ? current + 1 : 0;
            widest = std::max(widest, current);
        }
        const bool text = dark > 0 && widest < page.width() / 4;  // a rule runs across
        if (text) {
            ++run;
        } else if (run > 0) {
            heights.push_back(run);
            run = 0;
        }
    }
    return heights;
}

// The ink height of body text set at 8 pt in the report engine's face.
int EightPointInkHeight(const table::CellModel& t, int dpi) {
    QFont font = table::CellFont(t, t.style(4, 0));
    font.setPixelSize(int(std::lround(8.0 / 72.0 * dpi)));
    QImage image(2000, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, 2000, 200), Qt::AlignCenter,
               QStringLiteral("工资奖金收入备注 2012年12月28日 0123456789"));
    p.end();
    int first = -1, last = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Dark(image, x, y)) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    return last - first + 1;
}

// 1,000 items at the default settings with every column: the table keeps its
// scale (the page turned across or the remark column narrowed and wrapped),
// and the body text measures at least as tall as 8 pt text on the rendered pages.
TEST_F(PrintPaperTest, AThousandItemsAtTheDefaultSettingsPrintAtEightPointsOrMore) {
    std::vector<float> amounts(1000);
    for (size_t i = 0; i < amounts.size(); ++i) amounts[i] = float(i % 700) + 0.5f;
    WriteAmounts(amounts);
    StartProgram();
    PreviewWith([&] {
        for (const char* c : {"序号", "收入金额", "收入类型", "收入时间", "备注信息"})
            TickEntry(ids::PrintColumnList, c);
    });
    ASSERT_NE(Preview(), nullptr);
    const table::ReportLayout& layout = Preview()->reportLayout();
    EXPECT_DOUBLE_EQ(layout.geometry.scale, 1.0);
    const QString pdf = Out("thousand.pdf");
    ASSERT_TRUE(PrintPreviewTo(pdf));
    const int dpi = 300;
    const int reference = EightPointInkHeight(*Table(), dpi);
    for (int pageNumber : {1, 2, Preview()->pageCount()}) {
        const QImage page = Render(pdf, pageNumber, dpi);
        ASSERT_FALSE(page.isNull());
        if (const char* keep = std::getenv("TAVRIN_KEEP_PDF"))
            page.save(QString::fromUtf8(keep) + QString("_page%1.png").arg(pageNumber));
        const double perUnit = dpi / 254.0;
        int fixed = 0;
        for (int32_t r = 0; r < 4; ++r) fixed += Table()->rowHeight(r);
        const int top = int((180 + fixed) * perUnit) + 2;
        const int bottom = page.height() - int(180 * perUnit);
        std::vector<int> heights = TextLineHeights(page, top, bottom);
        ASSERT_GE(heights.size(), pageNumber == 1 ? 20u : 1u) << "page " << pageNumber;
        std::sort(heights.begin(), heights.end());
        const int median = heights[heights.size() / 2];
        EXPECT_GE(median, reference) << "page " << pageNumber << ": body text " << median
                                     << " px, 8 pt text " << reference << " px";
    }
}

// With no printer the person names the PDF file: the save dialog starts in the
// documents folder with the document's name and today's date, then in the
// folder chosen last; a cancelled dialog writes nothing, and nothing ever
// lands in the program folder. Charts go the same way under their own names.
TEST_F(PrintPaperTest, ThePersonNamesThePdfFileOfTablesAndCharts) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "a printer is set up";
    const QByteArray home = qgetenv("HOME");
    const QString ownHome = Out("home");
    qputenv("HOME", ownHome.toUtf8());
    struct RestoreHome {
        QByteArray home;
        ~RestoreHome() { qputenv("HOME", home); }
    } restore{home};
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    ASSERT_TRUE(documents.startsWith(ownHome));
    ASSERT_TRUE(QDir().mkpath(documents));
    const QString chosen = Out("printed");
    ASSERT_TRUE(QDir().mkpath(chosen));

    WriteAmounts({12.5f, 30});
    StartProgram();
    PreviewWith([&] { TickEntry(ids::PrintColumnList, "收入金额"); });
    ASSERT_NE(Preview(), nullptr);
    std::vector<DialogRequest> asked;
    auto answer = [&](std::optional<QString> file) {
        SetDialogResponder([&asked, file](const DialogRequest& r) -> std::optional<DialogReply> {
            asked.push_back(r);
            DialogReply reply{file.has_value(), {}};
            if (file) reply.fields["file"] = file->toStdString();
            return reply;
        });
    };
    answer(chosen + "/家庭账");  // typed without ".pdf"
    EXPECT_TRUE(Preview()->print());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, "save-file");
    EXPECT_EQ(asked[0].fields["title"], "保存为PDF文件");
    EXPECT_EQ(QString::fromStdString(asked[0].fields["file"]),
              documents + "/收入明细_" + today + ".pdf");
    EXPECT_TRUE(PageTexts(chosen + "/家庭账.pdf").value(0).contains("收入金额"));

    answer(std::nullopt);  // the next time: the folder chosen before; cancelled
    EXPECT_FALSE(Preview()->print());
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(QString::fromStdString(asked[1].fields["file"]),
              chosen + "/收入明细_" + today + ".pdf");
    Preview()->close();
    SettleEvents();

    // The shown chart: the pie of each side, then the trend.
    const struct {
        int mainButton;
        int chartPage;
        const char* name;
    } charts[] = {{4, 0, "收入结构图"}, {5, 0, "支出结构图"}, {5, 1, "收支趋势图"}};
    for (const auto& c : charts) {
        ClickToolButton(c.mainButton);
        forms::FindControlAs<forms::PageControl>(ids::MainWindow, ids::ChartPages)
            ->setCurrent(c.chartPage);
        SettleEvents();
        const QString file = chosen + "/" + c.name + "_" + today + ".pdf";
        asked.clear();
        answer(file);
        ClickToolButton(8);
        SettleEvents();
        ASSERT_EQ(asked.size(), 1u) << c.name;
        EXPECT_EQ(QString::fromStdString(asked[0].fields["file"]), file);
        const QImage page = Render(file, 1, 30);
        ASSERT_FALSE(page.isNull()) << c.name;
        if (const char* keep = std::getenv("TAVRIN_KEEP_PDF"))
            Render(file, 1, 80).save(QString(keep) + "_" + c.name + ".png");
        EXPECT_GT(page.width(), page.height()) << c.name;
    }
    AnswerNoDialog();
    EXPECT_TRUE(QDir(QString::fromStdString(dir())).entryList({"*.pdf"}).isEmpty());
    EXPECT_EQ(QDir(chosen).entryList({"*.pdf"}).size(), 4);
}

}  // namespace
}  // namespace tavrin::finance::testing
