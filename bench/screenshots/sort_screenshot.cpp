// analysis_sort_screenshot: the main window with its expense list sorted by a
// click on the amount header, saved as a PNG. Not a test; run by hand under
// Xvfb with a window manager:  analysis_sort_screenshot DIR OUT.png
#include <QApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTest>
#include <QThread>
#include <QTreeView>

#include "analysis/analysis_setup.h"
#include "app_tpl_templates.h"
#include "finance/handlers.h"
#include "finance/start_routine.h"
#include "forms/page_control.h"
#include "forms/report_list.h"
#include "forms/window_system.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/memory.h"
#include "runtime/message_box.h"

using namespace tavrin;
namespace ids = app_tpl::ids;

namespace {

void Settle() {
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents();
        QThread::msleep(30);
    }
}

void WriteExpenses() {
    const char* const fields[] = {"支出类型", "支出金额", "支出时间", "备注信息"};
    ArrayBlock* array = NewFieldInfArray(4);
    FieldInf* f = FieldInfElements(array);
    const int32_t types[4] = {10, 5, 8, 10}, sizes[4] = {20, 20, 20, 50};
    std::string names[4];
    for (int i = 0; i < 4; ++i) {
        names[i] = Utf8ToGbk(fields[i]);
        f[i] = FieldInf{names[i].c_str(), types[i], sizes[i]};
    }
    const std::string file = Utf8ToGbk("财务支出.edb");
    CallKernel(CreateDatabase, MakeTextRef(file.c_str()), MakeFieldInfArray(array));
    Free(array);
    CallKernel(OpenDatabase, MakeTextRef(file.c_str()));
    const char* const categories[] = {"餐饮", "交通", "住房", "娱乐"};
    const char* const remarks[] = {"午餐", "Taxi", "房租", "apple", "电影", "Bus"};
    const float amounts[] = {100, 20, 3, 12.5f, 1000, 45, 7, 230, 60, 19.9f, 5, 88};
    for (int i = 0; i < 12; ++i) {
        const std::string c = Utf8ToGbk(categories[i % 4]), r = Utf8ToGbk(remarks[i % 6]);
        CallKernel(AppendBlankRecord);
        CallKernel(WriteField, MakeInt(1), MakeTextRef(c.c_str()));
        CallKernel(WriteField, MakeInt(2), MakeFloat(amounts[i]));
        CallKernel(WriteField, MakeInt(3), MakeDateTime(46023.0 + i * 9));
        CallKernel(WriteField, MakeInt(4), MakeTextRef(r.c_str()));
    }
    CallKernel(CloseDatabase);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: analysis_sort_screenshot DIR OUT.png\n");
        return 2;
    }
    finance::InstallProgramWindowSystem();
    analysis::InstallAnalysis();
    InitializeForTests(argc, argv, finance::ProgramImage());
    SetProgramDirectory(Utf8ToGbk(argv[1]), true);
    SetMessageBoxResponder([](const MessageBoxRequest&) { return int32_t(kButtonOk); });
    WriteExpenses();
    forms::LoadWindow(ids::MainWindow, 0, false, true);
    Settle();
    forms::FindControlAs<forms::PageControl>(ids::MainWindow, ids::MainPages)->setCurrent(1);
    Settle();
    auto* list = forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, ids::ExpenseList);
    QHeaderView* header = list->view()->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 20, header->height() / 2));
    Settle();
    QApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(argv[2]));
    return 0;
}
