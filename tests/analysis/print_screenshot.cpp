// analysis_print_screenshot: the print settings window filled in, the formula
// window over it and the preview of 1,000 items, saved as PNG files. Not a
// test; run by hand under Xvfb with a window manager:
//   TAVRIN_SHOTS=/tmp/shots analysis_print_screenshot
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "analysis_test_support.h"
#include "forms/controls.h"
#include "forms/window_system.h"
#include "runtime/kernel/registry_commands.h"

namespace tavrin::finance::testing {
namespace {

class PrintScreenshot : public AnalysisTest {};

QString Shots() {
    const char* d = std::getenv("TAVRIN_SHOTS");
    return QString::fromLocal8Bit(d ? d : "/tmp");
}

void Shoot(const QString& name) {
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QTest::qWait(25);
    }
    QApplication::primaryScreen()->grabWindow(0).save(Shots() + "/" + name);
}

template <typename T>
T* Get(uint32_t window, uint32_t id) {
    return forms::FindControlAs<T>(window, id);
}

TEST_F(PrintScreenshot, SettingsFormulaAndPreview) {
    tavrin::SetSettingsDirectory(dir() + "/config");
    std::vector<Item> items;
    const char* kinds[] = {"工资", "奖金", "理财", "兼职"};
    for (int i = 0; i < 1000; ++i)
        items.push_back({kinds[i % 4], float(i % 400) + 0.25f * float(i % 4),
                         Days(2012, 1 + i % 12, 1 + i % 28, 8, 30), "备注"});
    WriteIncomeFile(items);
    StartProgram();
    ClickToolButton(7);
    SettleEvents();
    const uint32_t w = ids::PrintSettingsWindow;
    Get<forms::EditControl>(w, ids::PrintTitleEdit)->lineEdit()->setText("2012年收入明细表");
    Get<forms::EditControl>(w, ids::PrintRemarkEdit)->lineEdit()->setText("审核人: 张三");
    QListWidget* columns = Get<forms::ListBoxControl>(w, ids::PrintColumnList)->list();
    for (int i : {1, 2, 3}) columns->item(i)->setCheckState(Qt::Checked);
    Click(ids::SerialCheck, w);
    Click(ids::StatisticsSummaryRadio, w);
    Click(ids::CustomRowsCheck, w);
    Get<forms::ComboControl>(w, ids::PageNumberCombo)->setCurrent(5);
    Get<forms::ComboControl>(w, ids::PaperCombo)->setCurrent(2);
    WhenShown(ids::FormulaWindow, nullptr, [&] {
        Get<forms::EditControl>(ids::FormulaWindow, ids::FormulaTitleEdit)
            ->lineEdit()
            ->setText("双倍金额");
        Get<forms::EditControl>(ids::FormulaWindow, ids::FormulaEdit)
            ->lineEdit()
            ->setText("[收入金额]*2");
        Shoot("formula.png");
        Click(ids::FormulaOkButton, ids::FormulaWindow);
    });
    Click(ids::AddFormulaButton, w);
    SettleEvents();
    Shoot("settings.png");
    Click(ids::PrintPreviewButton, w);
    Shoot("preview.png");
}

}  // namespace
}  // namespace tavrin::finance::testing
