// layout_screenshot: the main window over twelve categories a side and ten
// years of items, pictured at its smallest size, at the template's size and
// maximised (pie and trend), then the print preview and the PDF save dialog,
// each saved as a PNG to look at. Not a test; run by hand under Xvfb with a
// window manager and a 1920 × 1080 screen:
//   layout_screenshot DIR OUTDIR
#include <QApplication>
#include <QFileDialog>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <string>

#include "analysis/analysis_setup.h"
#include "app_tpl_templates.h"
#include "finance/handlers.h"
#include "forms/bars.h"
#include "forms/controls.h"
#include "forms/window_system.h"
#include "item_files.h"
#include "program_start.h"
#include "runtime/gbk.h"

using namespace tavrin;
namespace ids = app_tpl::ids;

namespace {

void Settle() {
    bench::Settle(10, 20);
}

// Twelve categories a side, items every few days over 2017 to 2026; one
// income category holds far more than the others.
void WriteSample() {
    const std::vector<std::string> income = {"工资", "奖金", "理财", "兼职", "租金", "分红",
                                             "稿费", "报销", "礼金", "退税", "利息", "其他"};
    const std::vector<std::string> expense = {"餐饮", "交通", "购物", "住房", "医疗", "教育",
                                              "娱乐", "通讯", "服装", "水电", "人情", "旅游"};
    bench::WriteCategoryFile(bench::Side::kIncome, income);
    bench::WriteCategoryFile(bench::Side::kExpense, expense);
    const double first = 42736.0;  // 2017-01-01
    bench::WriteItemFile(
        bench::Side::kIncome, income, {"入账", "十二月工资（含绩效）"}, 1200, [&](int i) {
            const int c = (i * 7 + i / 3) % 12;
            const float amount =
                c == 0 ? 9000.0f + float(i % 13) * 100 : float(50 + (i * 37) % 3000) / (c + 1);
            return bench::ItemRow{size_t(c), amount, first + i * 3, size_t(i % 2)};
        });
    bench::WriteItemFile(bench::Side::kExpense, expense, {"日常", "周末聚餐"}, 3000, [&](int i) {
        const int c = (i * 5 + i / 7) % 12;
        return bench::ItemRow{size_t(c), float(10 + (i * 53) % 900) / (c + 1), first + (i * 6) / 5,
                              size_t(i % 2)};
    });
}

QWidget* Main() {
    return forms::WindowWidget(ids::MainWindow);
}

void ClientSize(int w, int h) {
    Main()->showNormal();
    Settle();
    const int top = forms::ClientArea(ids::MainWindow)->geometry().top();
    Main()->resize(w, h + top);
    Settle();
}

void Save(QWidget* w, const QString& path) {
    Settle();
    w->grab().save(path);
}

void ChartPage(int page) {
    bench::ClickTab(ids::ChartPages, page);
    Settle();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    bench::StartProgramAsItself(argc, argv, argv[1], WriteSample);
    Settle();
    const QString out = QString::fromUtf8(argv[2]);
    ClientSize(660, 420);
    Save(Main(), out + "/main_660x420.png");
    ClientSize(792, 600 - 30 - forms::ClientArea(ids::MainWindow)->geometry().top());
    Save(Main(), out + "/main_template.png");
    ChartPage(1);
    Save(Main(), out + "/main_template_trend.png");
    ChartPage(0);
    Main()->showMaximized();
    Settle();
    bench::Settle(40, 25);
    QApplication::primaryScreen()->grabWindow(0).save(out + "/main_maximised.png");
    ChartPage(1);
    QApplication::primaryScreen()->grabWindow(0).save(out + "/main_maximised_trend.png");
    ChartPage(0);

    // The print preview of the income list with every column, then the save dialog.
    forms::FindControlAs<forms::ToolBarControl>(ids::MainWindow, ids::Toolbar1)->button(7)->click();
    Settle();
    auto* columns =
        forms::FindControlAs<forms::ListBoxControl>(ids::PrintSettingsWindow, ids::PrintColumnList);
    for (int32_t i = 0; i < columns->count(); ++i) columns->setChecked(i, true);
    forms::FindControlAs<forms::ButtonControl>(ids::PrintSettingsWindow, ids::PrintPreviewButton)
        ->button()
        ->click();
    bench::Settle(40, 25);
    QApplication::primaryScreen()->grabWindow(0).save(out + "/preview.png");
    QTimer::singleShot(1500, [&] {
        QApplication::primaryScreen()->grabWindow(0).save(out + "/save_dialog.png");
        if (QWidget* dialog = QApplication::activeModalWidget()) dialog->close();
    });
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->windowTitle() != QStringLiteral("打印预览")) continue;
        for (QPushButton* p : w->findChildren<QPushButton*>())
            if (p->text() == QStringLiteral("打印")) {
                p->click();  // with no printer: the save dialog, pictured and closed above
                break;
            }
    }
    Settle();
    return 0;
}
