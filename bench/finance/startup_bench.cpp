// finance_startup_bench: the program's start-up with large item files, timed
// from process start to the first idle moment of the message loop, with the
// peak resident memory. Not a test; run by hand:
//   finance_startup_bench DIR [ITEMS]   (DIR is filled with ITEMS income and
//   ITEMS expense items when it holds no item files yet; default 100000)
// After the start it times one add, one change and one delete on the income
// side, each from the button's click to the next idle moment.
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QThread>
#include <cstdio>
#include <fstream>
#include <string>

#include "app_tpl_templates.h"
#include "finance/start_routine.h"
#include "forms/controls.h"
#include "forms/report_list.h"
#include "program_start.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/memory.h"

using namespace tavrin;

namespace {

// Seconds since this process started (kernel start time in clock ticks since boot).
double SecondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string s((std::istreambuf_iterator<char>(stat)), {});
    size_t close = s.rfind(')');
    unsigned long long start = 0;
    std::string rest = s.substr(close + 2);
    char* p = rest.data();
    for (int field = 3; field < 22; ++field) p = std::strchr(p, ' ') + 1;
    start = std::strtoull(p, nullptr, 10);
    timespec now;
    clock_gettime(CLOCK_BOOTTIME, &now);
    return now.tv_sec + now.tv_nsec / 1e9 - double(start) / double(sysconf(_SC_CLK_TCK));
}

void Fill(const char* utf8File, const char* const fields[4], int count, bool income) {
    const std::string file = Utf8ToGbk(utf8File);
    std::string names[4];
    ArrayBlock* array = NewFieldInfArray(4);
    FieldInf* f = FieldInfElements(array);
    const int32_t types[4] = {10, 5, 8, 10}, sizes[4] = {20, 20, 20, 50};
    for (int i = 0; i < 4; ++i) {
        names[i] = Utf8ToGbk(fields[i]);
        f[i] = {names[i].c_str(), types[i], sizes[i]};
    }
    CallKernel(CreateDatabase, MakeTextRef(file.c_str()), MakeFieldInfArray(array));
    Free(array);
    CallKernel(OpenDatabase, MakeTextRef(file.c_str()));
    const std::string cats[4] = {
        Utf8ToGbk(income ? "工资" : "餐饮"), Utf8ToGbk(income ? "奖金" : "交通"),
        Utf8ToGbk(income ? "利息" : "购物"), Utf8ToGbk(income ? "稿费" : "房租")};
    const std::string remark = Utf8ToGbk("批量生成的测试数据");
    for (int i = 0; i < count; ++i) {
        CallKernel(AppendBlankRecord);
        CallKernel(WriteField, MakeTextRef(names[0].c_str()), MakeTextRef(cats[i % 4].c_str()));
        CallKernel(WriteField, MakeTextRef(names[1].c_str()),
                   MakeFloat(float(1 + (i * 37) % 5000) / 4));
        // Spread over 2012 to 2026.
        CallKernel(WriteField, MakeTextRef(names[2].c_str()),
                   MakeDateTime(40909.0 + (i * 7919) % 5400 + 0.5));
        CallKernel(WriteField, MakeTextRef(names[3].c_str()), MakeTextRef(remark.c_str()));
    }
    CallKernel(CloseDatabase);
}

void FillCategories(const char* utf8File, const char* utf8Field, const char* utf8Text) {
    const std::string file = Utf8ToGbk(utf8File), field = Utf8ToGbk(utf8Field),
                      text = Utf8ToGbk(utf8Text);
    ArrayBlock* array = NewFieldInfArray(1);
    FieldInfElements(array)[0] = {field.c_str(), 10, 20};
    CallKernel(CreateDatabase, MakeTextRef(file.c_str()), MakeFieldInfArray(array));
    Free(array);
    CallKernel(OpenDatabase, MakeTextRef(file.c_str()));
    CallKernel(AppendBlankRecord);
    CallKernel(WriteField, MakeTextRef(field.c_str()), MakeTextRef(text.c_str()));
    CallKernel(CloseDatabase);
}

double Now() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

// Processor seconds (user and system) of this process so far: on a machine
// shared with other work the wall time of a short operation is noisy.
double CpuSeconds() {
    rusage u;
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct Timing {
    double wallMs = 0, cpuMs = 0;
};

// The time from the click of a button of the main window until every event it
// left behind (list updates, repaints) has been handled.
Timing TimeClick(uint32_t button) {
    auto* b = forms::FindControlAs<forms::ButtonControl>(app_tpl::ids::MainWindow, button);
    const double start = Now(), cpu = CpuSeconds();
    b->button()->click();
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    return {(Now() - start) * 1000, (CpuSeconds() - cpu) * 1000};
}

void EnterIncome(const char* amount) {
    using namespace app_tpl::ids;
    forms::FindControlAs<forms::ComboControl>(MainWindow, IncomeCategoryCombo)->setCurrent(0);
    forms::FindControlAs<forms::EditControl>(MainWindow, IncomeAmountEdit)->setText(amount);
}

void SelectIncomeRow(int32_t row) {
    auto* list = forms::FindControlAs<forms::ReportListControl>(app_tpl::ids::MainWindow,
                                                                app_tpl::ids::IncomeList);
    list->setCurrentRow(row);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: finance_startup_bench DIR [ITEMS]\n");
        return 2;
    }
    const double atMain = SecondsSinceProcessStart();
    const int items = argc > 2 ? std::atoi(argv[2]) : 100000;
    QDir().mkpath(QString::fromLocal8Bit(argv[1]));
    const std::string dir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath().toStdString();
    bench::StartRecordKeeping(argc, argv, dir);
    if (!QFile::exists(QString::fromStdString(dir + "/财务收入.edb"))) {
        static const char* const in[4] = {"收入类型", "收入金额", "收入时间", "收入备注信息"};
        static const char* const out[4] = {"支出类型", "支出金额", "支出时间", "备注信息"};
        std::fprintf(stderr, "writing %d + %d items into %s ...\n", items, items, dir.c_str());
        Fill("财务收入.edb", in, items, true);
        Fill("财务支出.edb", out, items, false);
        FillCategories("收入类型.edb", "收入类型值", "工资");
        FillCategories("支出类型.edb", "支出类型值", "餐饮");
        std::fprintf(stderr, "written; run again to time a start that does not write first\n");
        return 0;
    }
    timespec t0;
    clock_gettime(CLOCK_MONOTONIC, &t0);
    double idleAt = 0;
    QObject::connect(QAbstractEventDispatcher::instance(QThread::currentThread()),
                     &QAbstractEventDispatcher::aboutToBlock, [&] {
                         if (idleAt != 0) return;
                         idleAt = SecondsSinceProcessStart();
                         QCoreApplication::exit(0);
                     });
    finance::PrepareGlobalState();
    LoadStartWindow(finance::kMainWindowId);
    timespec t1;
    clock_gettime(CLOCK_MONOTONIC, &t1);
    QApplication::exec();
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    using namespace app_tpl::ids;
    EnterIncome("123.5");
    const Timing add = TimeClick(IncomeAddButton);
    SelectIncomeRow(items / 2);
    EnterIncome("77");
    const Timing change = TimeClick(IncomeChangeButton);
    SelectIncomeRow(items / 3);
    const Timing remove = TimeClick(IncomeDeleteButton);
    std::printf("process start -> main: %.3f s\n", atMain);
    std::printf("main window created (MainWindowStartUp done): %.3f s after loading began\n",
                (t1.tv_sec - t0.tv_sec) + (t1.tv_nsec - t0.tv_nsec) / 1e9);
    std::printf("process start -> first idle: %.3f s\n", idleAt);
    std::printf("processor time to first idle: %.3f s\n",
                usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                    (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6);
    std::printf("peak resident memory: %.1f MB\n", usage.ru_maxrss / 1024.0);
    std::printf("wall: add %.1f ms, change %.1f ms, delete (with pack) %.1f ms\n", add.wallMs,
                change.wallMs, remove.wallMs);
    std::printf("processor: add %.1f ms, change %.1f ms, delete (with pack) %.1f ms\n", add.cpuMs,
                change.cpuMs, remove.cpuMs);
    std::fflush(stdout);
    _exit(0);
}
