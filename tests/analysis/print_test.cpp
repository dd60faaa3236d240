// Printing an item list end to end on the program's real windows: the print
// settings window opened from the tool bar, its rules and messages, settings
// kept across runs, the print table in the background print window, its
// paging and preview, the watch that closes the background window, and a
// 1,000-row print to PDF looked at page by page.
#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QTest>
#include <cstdlib>

#include "analysis/analysis_setup.h"
#include "finance_test_support.h"
#include "forms/controls.h"
#include "forms/window_system.h"
#include "formula_columns.h"
#include "print_settings_window.h"
#include "print_summary.h"
#include "print_test_support.h"
#include "report_print.h"
#include "runtime/commands.h"
#include "runtime/kernel/registry_commands.h"
#include "runtime/memory.h"
#include "runtime/message_box.h"
#include "table/data_source.h"
#include "table/print_preview.h"

namespace tavrin::finance::testing {
namespace {

using namespace tavrin;

TEST_F(PrintTest, OpensUnfilledOverAFrontPreviewElseFilledFromTheListWithTheTemplateDefaults) {
    // Whatever else is stored, ID 0 means the template's defaults.
    StoreInt("ID", 0);
    Store("标题", "旧标题");
    Store("字体大小", "99");
    StartProgram();
    OpenSettings();
    EXPECT_EQ(Entries(ids::PrintColumnList),
              (std::vector<std::string>{"序号", "收入金额", "收入类型", "收入时间", "备注信息"}));
    for (int32_t i = 0; i < 5; ++i)
        EXPECT_FALSE(Get<forms::ListBoxControl>(ids::PrintColumnList)->isChecked(i));
    EXPECT_TRUE(Entries(ids::StatisticsColumnList).empty());
    EXPECT_EQ(EditText(ids::PrintTitleEdit), "");
    EXPECT_EQ(EditText(ids::FontSizeEdit), "30");
    const QDate today = QDate::currentDate();
    EXPECT_EQ(EditText(ids::PrintDateEdit), "打印日期:" + std::to_string(today.year()) + "年" +
                                                std::to_string(today.month()) + "月" +
                                                std::to_string(today.day()) + "日");
    EXPECT_EQ(Get<forms::ComboControl>(ids::PaperCombo)->count(), 9);
    EXPECT_EQ(U(Get<forms::ComboControl>(ids::PageNumberCombo)->itemText(5)), "下中");
    EXPECT_TRUE(Ticked(ids::DefaultColorsCheck));
    EXPECT_FALSE(Get<forms::ListBoxControl>(ids::StatisticsColumnList)->widget()->isEnabled());
    EXPECT_EQ(forms::WindowWidget(kSettings)->focusWidget(),
              Get<forms::EditControl>(ids::PrintTitleEdit)->lineEdit());
    ClickIn(ids::PrintCancelButton);
    SettleEvents();
    EXPECT_FALSE(forms::IsWindowLoaded(kSettings));

    // A preview in front: the window opens and stays empty.
    WriteAmounts({1});
    RestartProgram();
    OpenSettings();
    TickEntry(ids::PrintColumnList, "收入金额");
    ClickIn(ids::PrintPreviewButton);
    SettleEvents();
    ASSERT_NE(Preview(), nullptr);
    QApplication::setActiveWindow(Preview());
    printing::OpenPrintSettings();
    SettleEvents();
    ASSERT_TRUE(forms::IsWindowLoaded(kSettings));
    EXPECT_TRUE(Entries(ids::PrintColumnList).empty());
    EXPECT_EQ(EditText(ids::PrintDateEdit), "");
}

TEST_F(PrintTest, ColorAndSummaryRulesAndTheMessagesThatKeepTheWindowOpen) {
    WriteAmounts({10.5f, 20.7f});
    StartProgram();
    OpenSettings();
    ClickIn(ids::PrintPreviewButton);
    SettleEvents();
    auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "没有选择要进行打印的列！");
    EXPECT_EQ(shown[0].caption, "错误");
    EXPECT_EQ(shown[0].style & tavrin::kStyleIconMask, tavrin::kIconStop);
    EXPECT_TRUE(forms::IsWindowLoaded(kSettings));

    // Ticked columns are offered for statistics; unticking takes them back.
    TickEntry(ids::PrintColumnList, "收入金额");
    TickEntry(ids::PrintColumnList, "收入时间");
    TickEntry(ids::PrintColumnList, "收入类型");
    TickEntry(ids::PrintColumnList, "收入类型", false);
    EXPECT_EQ(Entries(ids::StatisticsColumnList),
              (std::vector<std::string>{"收入金额", "收入时间"}));
    AddFormula("双倍", "[收入金额]*2");
    ClickIn(ids::StatisticsSummaryRadio);
    EXPECT_TRUE(Get<forms::ListBoxControl>(ids::StatisticsColumnList)->widget()->isEnabled());
    EXPECT_EQ(Entries(ids::StatisticsColumnList),
              (std::vector<std::string>{"收入金额", "收入时间", "双倍"}));
    auto* statistics = Get<forms::ListBoxControl>(ids::StatisticsColumnList);
    EXPECT_TRUE(statistics->isChecked(0));
    EXPECT_TRUE(statistics->isChecked(1));
    EXPECT_FALSE(statistics->isChecked(2));
    for (int32_t i = 0; i < 3; ++i) statistics->setChecked(i, false);
    ClickIn(ids::PrintPreviewButton);
    SettleEvents();
    shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "没有选择要进行统计的列！");
    EXPECT_EQ(shown[0].caption, "错误");
    EXPECT_TRUE(forms::IsWindowLoaded(kSettings));

    // The context menu of 新列列表框 deletes the chosen formula column.
    AddFormula("三倍", "[收入金额]*3");
    QListWidget* formulas = Get<forms::ListBoxControl>(ids::FormulaColumnList)->list();
    ASSERT_EQ(formulas->count(), 2);
    const QRect first = formulas->visualItemRect(formulas->item(0));
    QTest::mouseClick(formulas->viewport(), Qt::RightButton, {}, first.center());
    QMenu* menu = forms::LastPopupMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text().toStdString(), "删除");
    menu->actions()[0]->trigger();
    SettleEvents();
    EXPECT_EQ(Entries(ids::FormulaColumnList), (std::vector<std::string>{"三倍"}));
    ASSERT_EQ(printing::FormulaColumns().size(), 1u);
    EXPECT_EQ(U(printing::FormulaColumns()[0].second), "[收入金额]*3");
    menu->close();

    // Exactly one colour scheme; custom rows enable their pickers only.
    ClickIn(ids::CustomRowsCheck);
    EXPECT_FALSE(Ticked(ids::DefaultColorsCheck));
    EXPECT_TRUE(Get<forms::ColorPickerControl>(ids::OddRowColor)->widget()->isEnabled());
    EXPECT_FALSE(Get<forms::ColorPickerControl>(ids::OddColumnColor)->widget()->isEnabled());
    ClickIn(ids::CustomColumnsCheck);
    EXPECT_FALSE(Ticked(ids::CustomRowsCheck));
    EXPECT_FALSE(Get<forms::ColorPickerControl>(ids::OddRowColor)->widget()->isEnabled());
    EXPECT_TRUE(Get<forms::ColorPickerControl>(ids::OddColumnColor)->widget()->isEnabled());
    ClickIn(ids::BuiltInColorsCheck);
    EXPECT_FALSE(Ticked(ids::CustomColumnsCheck));
    EXPECT_FALSE(Get<forms::ColorPickerControl>(ids::OddColumnColor)->widget()->isEnabled());
    ClickIn(ids::NoSummaryRadio);
    EXPECT_FALSE(Get<forms::ListBoxControl>(ids::StatisticsColumnList)->widget()->isEnabled());
}

// Statistics are money: 10.5 and 20.7 sum to 31.2 (not 30); a date column has
// no sum. The formula column doubles each amount; the remark adds three rows.
TEST_F(PrintTest, TheTableHoldsTitleRowsFormulaCellsExactSumsAndTheRemark) {
    WriteAmounts({10.5f, 20.7f});
    StartProgram();
    OpenSettings();
    Type(ids::PrintTitleEdit, "收入明细");
    Type(ids::PrintRemarkEdit, "审核人: 张三");
    ClickIn(ids::SerialCheck);
    TickEntry(ids::PrintColumnList, "收入金额");
    TickEntry(ids::PrintColumnList, "收入时间");
    AddFormula("双倍", "[收入金额]*2");
    ClickIn(ids::StatisticsSummaryRadio);
    Get<forms::ListBoxControl>(ids::StatisticsColumnList)->setChecked(2, true);
    ClickIn(ids::CustomRowsCheck);
    ChooseTitleFont(20, false);  // the table's title: face, size (× 3.3), not bold
    ClickIn(ids::PrintPreviewButton);
    SettleEvents();
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_FALSE(forms::IsWindowLoaded(kSettings));
    ASSERT_TRUE(forms::IsWindowLoaded(kBackground));
    EXPECT_FALSE(forms::WindowWidget(kBackground)->isVisible());
    ASSERT_NE(Table(), nullptr);
    table::CellModel& t = *Table();
    // Title, date, rule, header, two rows, statistics, three remark rows.
    ASSERT_EQ(t.rowCount(), 10);
    ASSERT_EQ(t.columnCount(), 4);
    EXPECT_EQ(Cell(1, 1), "收入明细");
    EXPECT_EQ(t.fontName(t.style(0, 0).fontName), "WenQuanYi Micro Hei");
    EXPECT_EQ(t.style(0, 0).fontSize, 66);
    EXPECT_EQ(t.style(0, 0).format & 0x7800u, 0u);
    EXPECT_EQ(t.rowHeight(0), 150);
    EXPECT_EQ(t.rowHeight(2), 1);
    EXPECT_EQ(t.style(2, 0).backColor, 0u);
    EXPECT_EQ(t.rowHeight(3), 80);
    EXPECT_EQ(t.rowHeight(4), 75);
    EXPECT_EQ(t.fixedRows(), 4);
    EXPECT_EQ(Cell(2, 1).rfind("打印日期:", 0), 0u);
    EXPECT_EQ(Row(4), (std::vector<std::string>{"序号", "收入金额", "收入时间", "双倍"}));
    EXPECT_EQ(t.columnWidth(0), 130);
    EXPECT_EQ(Cell(5, 1), "1");
    EXPECT_EQ(Cell(5, 2), "10.5");
    EXPECT_EQ(Cell(5, 4), "21");
    EXPECT_EQ(Cell(6, 4), "41.4");
    EXPECT_EQ(Row(7), (std::vector<std::string>{"统 计", "31.2", "", "62.4"}));
    EXPECT_EQ(Cell(8, 1), "审核人: 张三");
    EXPECT_EQ(t.style(7, 0).fontSize, 30);
    EXPECT_EQ(t.rowHeight(9), 150);
    EXPECT_EQ(t.style(3, 0).format & 0x7800u, 0x0800u);
    // Custom rows: header, odd, even and the statistics row in the header colour.
    EXPECT_EQ(t.style(3, 1).backColor, 0xCEDFDEu);
    EXPECT_EQ(t.style(4, 1).backColor, 0xDEEFEFu);
    EXPECT_EQ(t.style(5, 1).backColor, 0xFFFFFFu);
    EXPECT_EQ(t.style(6, 1).backColor, 0xCEDFDEu);

    // Without a remark and with the count line: no remark rows.
    Preview()->close();
    SettleEvents();
    OpenSettings();
    TickEntry(ids::PrintColumnList, "收入金额");
    ClickIn(ids::CountSummaryRadio);
    ClickIn(ids::PrintPreviewButton);
    SettleEvents();
    ASSERT_EQ(Table()->rowCount(), 7);
    EXPECT_EQ(Cell(7, 1), " 合计共 2 条记录");
}

TEST_F(PrintTest, RowsPerPageOrAutomaticPagingAndTheBackgroundWindowClosesAfterThePreview) {
    std::vector<float> amounts(60);
    for (size_t i = 0; i < amounts.size(); ++i) amounts[i] = float(i + 1);
    WriteAmounts(amounts);
    StartProgram();
    for (const char* rows : {"25", ""}) {
        OpenSettings();
        TickEntry(ids::PrintColumnList, "收入金额");
        Get<forms::ComboControl>(ids::PaperCombo)->setCurrent(2);  // A4
        Type(ids::RowsPerPageEdit, rows);
        ClickIn(ids::PrintPreviewButton);
        SettleEvents();
        ASSERT_NE(Preview(), nullptr);
        const table::ReportLayout& layout = Preview()->reportLayout();
        std::vector<int32_t> perPage;
        for (const table::PageRows& p : layout.pages) perPage.push_back(p.count);
        if (*rows) {
            EXPECT_EQ(perPage, (std::vector<int32_t>{25, 25, 10}));
        } else {
            // A4 297 mm less two margins of 18 mm; the fixed rows take
            // 150 + 50 + 1 + 80; data rows are 75 high, at scale 1.
            ASSERT_DOUBLE_EQ(layout.geometry.scale, 1.0);
            const int32_t fit = (2970 - 360 - 281) / 75;
            EXPECT_EQ(perPage, (std::vector<int32_t>{fit, 60 - fit}));
        }
        Preview()->close();
        SettleEvents();
        // The watch polls every 200 ms: gone after the next ticks.
        for (int i = 0; i < 100 && forms::IsWindowLoaded(kBackground); ++i) QTest::qWait(20);
        EXPECT_FALSE(forms::IsWindowLoaded(kBackground));
    }
}

TEST_F(PrintTest, SavedSettingsComeBackInTheNextRunAndADamagedStoreGivesTheDefaults) {
    WriteAmounts({1});
    StartProgram();
    OpenSettings();
    ChoosePageSettings();
    ClickIn(ids::SaveSettingsCheck);
    TickEntry(ids::PrintColumnList, "收入金额");
    ClickIn(ids::PrintPreviewButton);
    SettleEvents();
    EXPECT_EQ(StoredInt("ID"), 1);
    EXPECT_EQ(Stored("标题"), "家庭收入");
    EXPECT_EQ(StoredInt("页号位置"), 5);
    EXPECT_EQ(StoredInt("纸张方向"), 1);
    EXPECT_EQ(Stored("自定义行"), "真");
    EXPECT_EQ(Stored("默认色"), "假");
    EXPECT_EQ(Stored("每页行数"), "25");
    EXPECT_EQ(StoredInt("奇行"), 0x112233);
    EXPECT_EQ(StoredInt("字体大小"), -99);  // a text, not a number

    // The next run of the program, in a process of its own.
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kChildDir, QString::fromStdString(dir() + "/config"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=PrintTest.ChildFindsTheSavedSettings"});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();

    // A damaged store reads as empty: the defaults.
    Preview()->close();
    QFile file(QString::fromStdString(UserSettingsFile()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("\x01\x02garbage");
    file.close();
    OpenSettings();
    EXPECT_EQ(EditText(ids::PrintTitleEdit), "");
    EXPECT_EQ(EditText(ids::FontSizeEdit), "30");
    EXPECT_TRUE(Ticked(ids::DefaultColorsCheck));
}

// 1,000 income items with a formula column, the statistics row, custom row
// colours and page numbers "下中", printed from the preview to a PDF file and
// looked at page by page.
TEST_F(PrintTest, AThousandItemsPrintToPdfWithTitleRowsOnEveryPage) {
    std::vector<float> amounts(1000);
    for (size_t i = 0; i < amounts.size(); ++i) amounts[i] = float(i % 400) + 0.25f * float(i % 4);
    WriteAmounts(amounts);
    StartProgram();
    OpenSettings();
    Type(ids::PrintTitleEdit, "收入明细表");
    ClickIn(ids::SerialCheck);
    TickEntry(ids::PrintColumnList, "收入金额");
    TickEntry(ids::PrintColumnList, "收入类型");
    AddFormula("双倍金额", "[收入金额]*2");
    ClickIn(ids::StatisticsSummaryRadio);
    ClickIn(ids::CustomRowsCheck);
    Get<forms::ComboControl>(ids::PaperCombo)->setCurrent(2);
    Get<forms::ComboControl>(ids::PageNumberCombo)->setCurrent(5);
    ClickIn(ids::PrintPreviewButton);
    SettleEvents();
    ASSERT_NE(Preview(), nullptr);
    ASSERT_EQ(Table()->rowCount(), 4 + 1000 + 1);
    double total = 0;
    for (int32_t i = 1; i <= 1000; ++i) {
        const double amount = std::stod(Cell(4 + i, 2));
        total += amount;
        ASSERT_EQ(std::stod(Cell(4 + i, 4)), 2 * amount) << "row " << i;
    }
    EXPECT_EQ(Cell(1005, 1), "统 计");
    EXPECT_DOUBLE_EQ(std::stod(Cell(1005, 2)), total);

    // Fixed rows 150 + 50 + 1 + 80 high; body rows 75 on A4 at scale 1.
    const table::ReportLayout& layout = Preview()->reportLayout();
    ASSERT_DOUBLE_EQ(layout.geometry.scale, 1.0);
    const int32_t perPage = (2970 - 360 - 281) / 75;
    const int32_t pages = (1001 + perPage - 1) / perPage;
    ASSERT_EQ(Preview()->pageCount(), pages);

    const QString pdf = QString::fromStdString(dir() + "/print.pdf");
    ASSERT_TRUE(PrintPreviewTo(pdf));
    const QStringList texts = PageTexts(pdf);
    ASSERT_GE(texts.size(), pages);
    for (int p = 0; p < pages; ++p) {
        const QString& page = texts[p];
        EXPECT_TRUE(page.contains("收入明细表")) << "page " << p + 1;
        EXPECT_TRUE(page.contains("打印日期:")) << "page " << p + 1;
        EXPECT_TRUE(page.contains("双倍金额")) << "page " << p + 1;
        // The text tool drops the blanks around the number of "第 %d 页".
        EXPECT_TRUE(QString(page).remove(' ').contains(QString("第%1页").arg(p + 1)))
            << "page " << p + 1;
    }
    EXPECT_TRUE(QString(texts[pages - 1]).remove(' ').contains("统计"));
    if (const char* keep = std::getenv("TAVRIN_KEEP_PDF")) QFile::copy(pdf, keep);
    QProcess pictures;
    pictures.start("pdftoppm", {"-r", "30", "-png", pdf, QString::fromStdString(dir() + "/page")});
    ASSERT_TRUE(pictures.waitForFinished(120000));
    EXPECT_EQ(QDir(QString::fromStdString(dir())).entryList({"page*.png"}).size(), pages);
}

// Sums of money: exact decimals whatever the binary fractions, large amounts
// in their exponent form, and only numbers counted.
TEST(ColumnSum, AddsMoneyExactlyAndCountsOnlyNumbers) {
    using printing::ColumnSumText;
    EXPECT_EQ(ColumnSumText({"10.5", "20.7"}), "31.2");
    EXPECT_EQ(ColumnSumText({"0.1", "0.2"}), "0.3");
    EXPECT_EQ(ColumnSumText({"1.23457e+06", "1"}), "1234571");
    EXPECT_EQ(ColumnSumText({"-3.50", "1", " 7 ", "+3"}), "7.5");
    EXPECT_EQ(ColumnSumText({"0.3333333333333", "0.6666666666667"}), "1");
    EXPECT_EQ(ColumnSumText({"5", G("2012年5月1日8时30分"), G("备注"), ""}), "5");
    EXPECT_EQ(ColumnSumText({G("2012年5月1日"), "", "-", ".", "1e"}), "");
}

// Run by the test above as the next start of the program.
TEST_F(PrintTest, ChildFindsTheSavedSettings) {
    if (std::getenv(kChildDir) == nullptr) GTEST_SKIP() << "run as the child of the test above";
    WriteAmounts({1});
    StartProgram();
    OpenSettings();
    ExpectPageSettingsChosen();
    EXPECT_FALSE(Ticked(ids::DefaultColorsCheck));
    EXPECT_TRUE(Get<forms::ColorPickerControl>(ids::OddRowColor)->widget()->isEnabled());
    EXPECT_TRUE(Ticked(ids::SaveSettingsCheck));
}

}  // namespace
}  // namespace tavrin::finance::testing
