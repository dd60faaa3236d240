// analysis_formula_screenshot: the formula window, filled in, over a window
// that stands in for the print settings window, saved as a PNG. Not a test;
// run by hand under Xvfb with a window manager:  analysis_formula_screenshot OUT.png
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include "analysis/analysis_setup.h"
#include "finance/start_routine.h"
#include "forms/controls.h"
#include "forms/window_system.h"
#include "formula_columns.h"
#include "formula_stand_in.h"
#include "runtime/gbk.h"

using namespace tavrin;
namespace ids = fst::ids;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: analysis_formula_screenshot OUT.png\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    printing::stand_in::Start(argc, argv);
    finance::ResetRunStateForTests();
    printing::stand_in::OpenStandIn();
    auto* display =
        forms::FindControlAs<forms::ListBoxControl>(ids::StandInWindow, ids::DisplayList);
    display->setChecked(1, true);
    display->setChecked(3, true);
    QTimer::singleShot(300, [&] {
        auto* title =
            forms::FindControlAs<forms::EditControl>(ids::FormulaWindow, ids::FormulaTitleEdit);
        title->setText(Utf8ToGbk("双倍金额"));
        auto* combo =
            forms::FindControlAs<forms::ComboControl>(ids::FormulaWindow, ids::FormulaColumnCombo);
        combo->combo()->setCurrentIndex(0);
        emit combo->combo()->activated(0);  // as a person's choice does
        forms::FindControlAs<forms::EditControl>(ids::FormulaWindow, ids::FormulaEdit)
            ->lineEdit()
            ->insert("*2");
        for (int i = 0; i < 10; ++i) {
            QApplication::processEvents();
            QThread::msleep(30);
        }
        QApplication::primaryScreen()->grabWindow(0).save(out);
        forms::CloseWindow(ids::FormulaWindow, false);
    });
    printing::OpenFormulaWindow(ids::StandInWindow);
    return 0;
}
