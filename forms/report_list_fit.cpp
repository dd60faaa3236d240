// Column widening to one row of a report list.
#include "forms/report_list_fit.h"

#include <QFontMetrics>

#include "forms/report_list.h"
#include "runtime/gbk.h"

namespace tavrin::forms {

namespace {
// The margin a fit to the contents adds to the widest text.
constexpr int kCellPadding = 12;
}  // namespace

void WidenColumnsToRow(ReportListControl& list, int32_t row) {
    if (row < 0 || row >= list.itemCount()) return;
    const QFontMetrics metrics(list.view()->font());
    for (int32_t c = 0; c < list.columnCount(); ++c) {
        const int needed =
            metrics.horizontalAdvance(GbkToQString(list.itemText(row, c))) + kCellPadding;
        if (list.columnWidth(c) < needed) list.setColumnWidth(c, needed);
    }
}

}  // namespace tavrin::forms
