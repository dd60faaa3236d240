// analysis_screenshot: the main window with its charts over sample data, saved
// as a PNG to look at. Not a test; run by hand under Xvfb:
//   xvfb-run -a analysis_screenshot DIR OUT.png [pie | trend]
// DIR gets sample categories and items when it has no data files yet.
#include <QApplication>
#include <QPixmap>
#include <QThread>
#include <QWidget>
#include <string>

#include "analysis/analysis_setup.h"
#include "app_tpl_templates.h"
#include "finance/handlers.h"
#include "forms/window_system.h"
#include "item_files.h"
#include "program_start.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/memory.h"
#include "runtime/message_box.h"

using namespace tavrin;
namespace ids = app_tpl::ids;

namespace {

void Settle() {
    bench::Settle(5, 20);
}

// A side's categories and items over 2026, the amounts shrinking with the
// category's place so that the slices differ.
void WriteSample(bool income, const std::vector<std::string>& categories, int items) {
    const bench::Side side = income ? bench::Side::kIncome : bench::Side::kExpense;
    bench::WriteCategoryFile(side, categories);
    const int n = int(categories.size());
    bench::WriteItemFile(side, categories, {income ? "入账" : "日常"}, items, [&](int i) {
        const int c = (i * 7 + i / 3) % n;
        const float amount =
            income ? float(800 + (i * 37) % 2400) / (c + 1) : float(20 + (i * 53) % 900) / (c + 1);
        return bench::ItemRow{size_t(c), amount, 46023.0 + (i * 5) % 365, 0};
    });
}

void SelectPage(uint32_t pageControl, int page) {
    bench::ClickTab(pageControl, page);
    Settle();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    bench::StartProgramAsItself(argc, argv, argv[1], [] {
        WriteSample(true, {"工资", "奖金", "理财", "兼职"}, 150);
        WriteSample(false, {"餐饮", "交通", "住房", "娱乐", "医疗", "服装"}, 250);
    });
    Settle();
    if (argc > 3 && std::string(argv[3]) == "trend") SelectPage(ids::ChartPages, 1);
    if (argc > 3 && std::string(argv[3]) == "pie-expense") SelectPage(ids::MainPages, 1);
    QWidget* window = forms::WindowWidget(ids::MainWindow);
    window->resize(1000, 700);
    Settle();
    return window->grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
