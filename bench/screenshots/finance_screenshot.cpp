// finance_screenshot: the main window (with its charts) over a program directory, optionally
// after adding a few items on each side through the entry fields and buttons,
// saved as a PNG to look at. Not a test; run by hand under Xvfb:
//   xvfb-run -a finance_screenshot DIR OUT.png [add | editor | size W H [SECONDS]]
// "size" gives the main window a client area of W × H and waits SECONDS (default
// 0) for input from outside (xdotool) before the picture is taken.
#include <QApplication>
#include <QPixmap>
#include <QThread>
#include <QTimer>

#include "analysis/analysis_setup.h"
#include "app_tpl_templates.h"
#include "finance/handlers.h"
#include "forms/bars.h"
#include "forms/controls.h"
#include "forms/window_system.h"
#include "program_start.h"
#include "runtime/gbk.h"
#include "runtime/message_box.h"

using namespace tavrin;
namespace ids = app_tpl::ids;

namespace {

void Settle() {
    bench::Settle(5, 20);
}

void Add(bool income, int category, const char* amount, const char* remark) {
    auto* combo = forms::FindControlAs<forms::ComboControl>(
        ids::MainWindow, income ? ids::IncomeCategoryCombo : ids::ExpenseCategoryCombo);
    combo->setCurrent(category);
    forms::FindControlAs<forms::EditControl>(
        ids::MainWindow, income ? ids::IncomeAmountEdit : ids::ExpenseAmountEdit)
        ->setText(amount);
    forms::FindControlAs<forms::EditControl>(
        ids::MainWindow, income ? ids::IncomeRemarkEdit : ids::ExpenseRemarkEdit)
        ->setText(Utf8ToGbk(remark));
    forms::FindControlAs<forms::ButtonControl>(
        ids::MainWindow, income ? ids::IncomeAddButton : ids::ExpenseAddButton)
        ->button()
        ->click();
    Settle();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    bench::StartProgramAsItself(argc, argv, argv[1]);  // with the charts, as the program has them
    Settle();
    const bool add = argc > 3 && std::string(argv[3]) == "add";
    if (add) {
        Add(true, 0, "8000", "十二月工资");
        Add(true, 1, " 1500.5 ", "年终奖");
        Add(true, 0, "12abc", "");
        auto* bar = forms::FindControlAs<forms::ToolBarControl>(ids::MainWindow, ids::Toolbar1);
        bar->button(5)->click();
        Settle();
        Add(false, 0, "35", "午餐");
        Add(false, 1, "120", "加油");
    }
    if (argc > 3 && std::string(argv[3]) == "editor") {
        // The income category editor is modal: it is pictured from inside its loop.
        bool saved = false;
        QTimer::singleShot(500, [&] {
            QWidget* editor = forms::WindowWidget(ids::IncomeCategoryWindow);
            saved = editor && editor->grab().save(QString::fromLocal8Bit(argv[2]));
            forms::FindControlAs<forms::ButtonControl>(ids::IncomeCategoryWindow,
                                                       ids::IncomeConfirmButton)
                ->button()
                ->click();
        });
        forms::FindControlAs<forms::ButtonControl>(ids::MainWindow, ids::IncomeCategoryButton)
            ->button()
            ->click();
        return saved ? 0 : 1;
    }
    QWidget* window = forms::WindowWidget(ids::MainWindow);
    if (argc > 5 && std::string(argv[3]) == "size") {
        QWidget* client = forms::ClientArea(ids::MainWindow);
        window->resize(std::atoi(argv[4]), std::atoi(argv[5]) + client->geometry().top());
        Settle();
        const int hold = argc > 6 ? std::atoi(argv[6]) : 0;
        for (int i = 0; i < hold * 20; ++i) {
            QApplication::processEvents();
            QThread::msleep(50);
        }
    }
    window->raise();
    Settle();
    const bool ok = window->grab().save(QString::fromLocal8Bit(argv[2]));
    return ok ? 0 : 1;
}
