// analysis_sort_screenshot: the main window with its expense list sorted by a
// click on the amount header, saved as a PNG. Not a test; run by hand under
// Xvfb with a window manager:  analysis_sort_screenshot DIR OUT.png
#include <QApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTest>
#include <QThread>

#include "analysis/analysis_setup.h"
#include "app_tpl_templates.h"
#include "finance/handlers.h"
#include "finance/start_routine.h"
#include "forms/page_control.h"
#include "forms/report_list.h"
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

// Twelve expenses with mixed amounts and remarks, nine days apart from 2026.
void WriteExpenses() {
    static const float amounts[] = {100, 20, 3, 12.5f, 1000, 45, 7, 230, 60, 19.9f, 5, 88};
    bench::WriteItemFile(
        bench::Side::kExpense, {"餐饮", "交通", "住房", "娱乐"},
        {"午餐", "Taxi", "房租", "apple", "电影", "Bus"}, 12, [](int i) {
            return bench::ItemRow{size_t(i % 4), amounts[i], 46023.0 + i * 9, size_t(i % 6)};
        });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: analysis_sort_screenshot DIR OUT.png\n");
        return 2;
    }
    bench::StartProgram(argc, argv, argv[1]);
    WriteExpenses();
    forms::LoadWindow(ids::MainWindow, 0, false, true);
    bench::Settle(10, 30);
    forms::FindControlAs<forms::PageControl>(ids::MainWindow, ids::MainPages)->setCurrent(1);
    bench::Settle(10, 30);
    auto* list = forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, ids::ExpenseList);
    QHeaderView* header = list->view()->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 20, header->height() / 2));
    bench::Settle(10, 30);
    QApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(argv[2]));
    return 0;
}
