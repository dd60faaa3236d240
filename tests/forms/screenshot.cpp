// Renders the every-kind test window to a PNG for a visual check:
//   xvfb-run -a forms_screenshot out.png
#include <QApplication>
#include <QTest>
#include <cstdio>

#include "forms/report_list.h"
#include "forms/window_system.h"
#include "runtime/gbk.h"
#include "test_support.h"

int main(int argc, char** argv) {
    formtest::SetUpWindowLayer();
    using namespace tavrin::forms;
    const uint32_t w = formtest::ids::TestWindow;
    if (!LoadWindow(w)) return 1;
    if (auto* list = FindControlAs<ReportListControl>(w, formtest::ids::IncomeList)) {
        for (int i = 1; i <= 6; ++i) {
            int32_t row = list->insertItem(-1, std::to_string(i));
            list->setItemText(row, 1, std::to_string(i * 100) + ".00");
            list->setItemText(row, 2, tavrin::Utf8ToGbk(i % 2 ? "工资" : "奖金"));
            list->setItemText(row, 3, tavrin::Utf8ToGbk("2012年5月1日"));
            list->setItemText(row, 4, tavrin::Utf8ToGbk("备注"));
        }
    }
    QTest::qWait(300);
    QPixmap shot = WindowWidget(w)->grab();
    const char* out = argc > 1 ? argv[1] : "forms_screenshot.png";
    if (!shot.save(out)) return 1;
    std::printf("saved %s (%dx%d)\n", out, shot.width(), shot.height());
    return 0;
}
