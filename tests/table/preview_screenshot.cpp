// Not a test: builds a small print table, opens its preview and writes the
// window to the PNG named on the command line (run offscreen or under Xvfb).
#include <QImage>
#include <QTimer>

#include "table/print_preview.h"
#include "table_fixture.h"

using namespace table_test;

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    StartWindowSystemOnce();
    if (!forms::LoadWindow(ids::TableWindow)) return 1;
    CellModel& m = *forms::FindControlAs<DataSourceControl>(ids::TableWindow, ids::Source)->cells();
    m.reset(64, 4);
    m.merge({0, 0, 1, 4});
    m.setText(0, 0, G("收入明细表"));
    m.setRowHeight(0, 150);
    m.changeStyle({0, 0, 1, 1}, [](CellStyle& s) {
        s.fontSize = 90;
        s.alignment = 2;
        s.format = kBold << kFontStyleShift;
    });
    for (int32_t r = 1; r < 64; ++r)
        for (int32_t c = 0; c < 4; ++c) m.setText(r, c, std::to_string(r * 10 + c));
    m.changeStyle({1, 0, 63, 4}, [](CellStyle& s) { s.backColor = 0xDEEFEF; });
    m.setBorders({1, 0, 63, 4}, Sides::kFrame | Sides::kInner, true);
    m.setFixedRows(2);
    PrintSettings settings;
    settings.paper = 3;
    settings.pageNumberPosition = 2;
    PrintPreviewWindow* preview = OpenPrintPreview(m, settings);
    preview->resize(800, 600);
    QTimer::singleShot(300, [&] {
        preview->grab().save(QString::fromLocal8Bit(argv[1]));
        QApplication::quit();
    });
    return QApplication::exec();
}
