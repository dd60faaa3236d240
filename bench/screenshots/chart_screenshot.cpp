// analysis_screenshot: the main window with its charts over sample data, saved
// as a PNG to look at. Not a test; run by hand under Xvfb:
//   xvfb-run -a analysis_screenshot DIR OUT.png [pie | trend]
// DIR gets sample categories and items when it has no data files yet.
#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QTabBar>
#include <QThread>
#include <string>

#include "analysis/analysis_setup.h"
#include "app_tpl_templates.h"
#include "finance/handlers.h"
#include "finance/start_routine.h"
#include "forms/page_control.h"
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
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

void CreateFile(const char* utf8Name, std::initializer_list<FieldInf> fields) {
    ArrayBlock* array = NewFieldInfArray(uint32_t(fields.size()));
    FieldInf* f = FieldInfElements(array);
    for (const FieldInf& field : fields) *f++ = field;
    const std::string name = Utf8ToGbk(utf8Name);
    CallKernel(CreateDatabase, MakeTextRef(name.c_str()), MakeFieldInfArray(array));
    Free(array);
    CallKernel(OpenDatabase, MakeTextRef(name.c_str()));
}

void WriteSample(bool income, const std::vector<const char*>& categories, int items) {
    const std::string file = income ? "财务收入.edb" : "财务支出.edb";
    const std::string f1 = Utf8ToGbk(income ? "收入类型" : "支出类型");
    const std::string f2 = Utf8ToGbk(income ? "收入金额" : "支出金额");
    const std::string f3 = Utf8ToGbk(income ? "收入时间" : "支出时间");
    const std::string f4 = Utf8ToGbk(income ? "收入备注信息" : "备注信息");
    const std::string catField = Utf8ToGbk(income ? "收入类型值" : "支出类型值");
    CreateFile(income ? "收入类型.edb" : "支出类型.edb", {FieldInf{catField.c_str(), 10, 20}});
    std::vector<std::string> cats;
    for (const char* c : categories) {
        cats.push_back(Utf8ToGbk(c));
        CallKernel(AppendBlankRecord);
        CallKernel(WriteField, MakeInt(1), MakeTextRef(cats.back().c_str()));
    }
    CallKernel(CloseDatabase);
    CreateFile(file.c_str(), {FieldInf{f1.c_str(), 10, 20}, FieldInf{f2.c_str(), 5, 20},
                              FieldInf{f3.c_str(), 8, 20}, FieldInf{f4.c_str(), 10, 50}});
    const std::string remark = Utf8ToGbk(income ? "入账" : "日常");
    for (int i = 0; i < items; ++i) {
        const int c = (i * 7 + i / 3) % int(cats.size());
        const float amount = income ? float(800 + (i * 37) % 2400) / (c + 1)
                                    : float(20 + (i * 53) % 900) / (c + 1);
        CallKernel(AppendBlankRecord);
        CallKernel(WriteField, MakeInt(1), MakeTextRef(cats[size_t(c)].c_str()));
        CallKernel(WriteField, MakeInt(2), MakeFloat(amount));
        CallKernel(WriteField, MakeInt(3), MakeDateTime(46023.0 + (i * 5) % 365));  // 2026
        CallKernel(WriteField, MakeInt(4), MakeTextRef(remark.c_str()));
    }
    CallKernel(CloseDatabase);
}

void SelectPage(uint32_t pageControl, int page) {
    forms::FindControlAs<forms::PageControl>(ids::MainWindow, pageControl)
        ->tabBar()
        ->setCurrentIndex(page);
    Settle();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    finance::InstallProgramWindowSystem();
    analysis::InstallAnalysis();
    InitializeForTests(argc, argv, finance::ProgramImage());
    SetProgramDirectory(Utf8ToGbk(argv[1]), true);
    SetMessageBoxResponder([](const MessageBoxRequest& r) {
        std::fprintf(stderr, "message: %s\n", GbkToUtf8(r.text).c_str());
        return int32_t(kButtonOk);
    });
    if (!QFile::exists(QString::fromUtf8(argv[1]) + "/财务收入.edb")) {
        WriteSample(true, {"工资", "奖金", "理财", "兼职"}, 150);
        WriteSample(false, {"餐饮", "交通", "住房", "娱乐", "医疗", "服装"}, 250);
    }
    finance::PrepareGlobalState();
    LoadStartWindow(finance::kMainWindowId);
    Settle();
    if (argc > 3 && std::string(argv[3]) == "trend") SelectPage(ids::ChartPages, 1);
    if (argc > 3 && std::string(argv[3]) == "pie-expense") SelectPage(ids::MainPages, 1);
    QWidget* window = forms::WindowWidget(ids::MainWindow);
    window->resize(1000, 700);
    Settle();
    return window->grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
