// The paper fit of a print table: landscape first when the person's choice is
// portrait and the table is too wide for it, a wrapped text column next.
#include "print_fit.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "runtime/gbk.h"
#include "table/report_layout.h"
#include "table/report_painter.h"

namespace tavrin::printing {

namespace {

int64_t PrintableWidth(const table::PrintSettings& s, int32_t orientation) {
    table::PrintSettings turned = s;
    turned.orientation = orientation;
    return table::PaperSizeInUnits(turned).width() - std::max(0, s.marginLeft) -
           std::max(0, s.marginRight);
}

// Lines of body text a row holds.
int32_t LinesPerRow(const table::CellModel& m, int32_t rowHeight, int32_t fontSize) {
    QFont font = table::FaceFont(GbkToQString(m.defaultFontName()));
    font.setPixelSize(std::max(1, fontSize));
    const double line = QFontMetricsF(font).lineSpacing();
    return line > 0 ? int32_t(std::floor(rowHeight / line)) : 1;
}

}  // namespace

PaperFit FitToPaper(const table::CellModel& m, const table::PrintSettings& settings,
                    const std::vector<int32_t>& textColumns, int32_t rowHeight, int32_t fontSize) {
    PaperFit fit;
    fit.orientation = settings.orientation == 1 ? 1 : 0;
    const int64_t total = m.totalWidth();
    int32_t widest = -1;
    for (int32_t c : textColumns)
        if (widest < 0 || m.columnWidth(c) > m.columnWidth(widest)) widest = c;
    const int32_t lines = LinesPerRow(m, rowHeight, fontSize);
    // The narrowest the widest text column may become: its one line in the lines a row holds.
    const int32_t narrowest =
        widest < 0 || lines < 2 ? INT32_MAX : (m.columnWidth(widest) + lines - 1) / lines;

    auto fits = [&](int32_t orientation) {
        const int64_t room = PrintableWidth(settings, orientation);
        if (total <= room) return true;
        const int64_t width = widest < 0 ? 0 : m.columnWidth(widest) - (total - room);
        if (width < narrowest) return false;
        fit.column = widest;
        fit.width = int32_t(width);
        return true;
    };
    if (fits(fit.orientation)) return fit;
    if (fit.orientation == 0 && fits(1)) {
        fit.orientation = 1;
        return fit;
    }
    // Nothing keeps the size: the widest paper, the text column as narrow as
    // it may be, and the engine shrinks what is left.
    fit.orientation = 1;
    if (narrowest < m.columnWidth(widest >= 0 ? widest : 0) && widest >= 0) {
        fit.column = widest;
        fit.width = narrowest;
    }
    return fit;
}

}  // namespace tavrin::printing
