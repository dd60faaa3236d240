// Report list view commands over the list's compact row model.
#include "forms/commands/list_view_commands.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "forms/commands/command_support.h"
#include "forms/report_list.h"

namespace tavrin::form_commands {

namespace {

using forms::ReportListControl;

ReportListControl* ListOf(int32_t argc, const Value* argv) {
    return RequireControlAs<ReportListControl>(argc, argv);
}

int32_t IntAt(int32_t argc, const Value* argv, int32_t i) {
    return IntArg(ArgAt(argc, argv, i));
}

// Width the columns can share: the list without its frame and, when the rows
// do not fit its height, without the vertical scroll bar. Worked out from the
// list's own size so that it holds for a list on a page that is not shown.
int32_t AvailableWidth(ReportListControl& list) {
    forms::ReportListView* view = list.view();
    const int frame = view->frameWidth();
    int32_t width = view->width() - 2 * frame;
    bool scrolls = view->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn;
    if (!scrolls && view->verticalScrollBarPolicy() == Qt::ScrollBarAsNeeded &&
        list.itemCount() > 0) {
        list.model()->flush();
        const int64_t rowHeight = std::max(1, view->rowHeight());
        const int header = view->header()->isHidden() ? 0 : view->header()->sizeHint().height();
        scrolls = int64_t(list.itemCount()) * rowHeight > view->height() - 2 * frame - header;
    }
    if (scrolls)
        width -= view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr,
                                            view->verticalScrollBar());
    return width;
}

}  // namespace

void LvItemCount(Value* result, int32_t argc, const Value* argv) {
    ReportListControl* list = ListOf(argc, argv);
    *result = MakeInt(list ? list->itemCount() : 0);
}

void LvInsertItem(Value* result, int32_t argc, const Value* argv) {
    ReportListControl* list = ListOf(argc, argv);
    if (list == nullptr) {
        *result = MakeInt(-1);
        return;
    }
    const int32_t row = IntOr(argc, argv, 1, -1);
    const int32_t image = std::max(-1, IntOr(argc, argv, 3, -1));
    const int32_t indent = std::max(0, IntOr(argc, argv, 5, 0));
    *result = MakeInt(list->insertItem(row < 0 ? -1 : row, TextArg(ArgAt(argc, argv, 2)), image,
                                       IntOr(argc, argv, 4, 0), indent, IntOr(argc, argv, 6, 0)));
}

void LvSetItemText(Value* result, int32_t argc, const Value* argv) {
    if (ReportListControl* list = ListOf(argc, argv))
        list->setItemText(IntAt(argc, argv, 1), IntOr(argc, argv, 2, 0),
                          TextArg(ArgAt(argc, argv, 3)));
    *result = Value{};
}

void LvGetItemText(Value* result, int32_t argc, const Value* argv) {
    ReportListControl* list = ListOf(argc, argv);
    SetTextResult(result, list ? list->itemText(IntAt(argc, argv, 1), IntOr(argc, argv, 2, 0))
                               : std::string());
}

void LvSetItemImage(Value* result, int32_t argc, const Value* argv) {
    if (ReportListControl* list = ListOf(argc, argv))
        list->setItemImage(IntAt(argc, argv, 1), IntOr(argc, argv, 2, 0),
                           std::max(-1, IntOr(argc, argv, 3, -1)));
    *result = Value{};
}

void LvGetItemImage(Value* result, int32_t argc, const Value* argv) {
    ReportListControl* list = ListOf(argc, argv);
    *result = MakeInt(list ? list->itemImage(IntAt(argc, argv, 1), IntOr(argc, argv, 2, 0)) : -1);
}

void LvSetCheckState(Value* result, int32_t argc, const Value* argv) {
    if (ReportListControl* list = ListOf(argc, argv)) {
        const int32_t row = IntAt(argc, argv, 1);
        if (row >= 0 && row < list->itemCount()) list->setCheckState(row, IntAt(argc, argv, 2));
    }
    *result = Value{};
}

void LvGetCheckState(Value* result, int32_t argc, const Value* argv) {
    ReportListControl* list = ListOf(argc, argv);
    *result = MakeInt(list ? list->checkState(IntAt(argc, argv, 1)) : 0);
}

void LvSetItemData(Value* result, int32_t argc, const Value* argv) {
    if (ReportListControl* list = ListOf(argc, argv))
        list->setItemData(IntAt(argc, argv, 1), IntAt(argc, argv, 2));
    *result = Value{};
}

void LvGetItemData(Value* result, int32_t argc, const Value* argv) {
    ReportListControl* list = ListOf(argc, argv);
    *result = MakeInt(list ? list->itemData(IntAt(argc, argv, 1)) : 0);
}

void LvDeleteItem(Value* result, int32_t argc, const Value* argv) {
    if (ReportListControl* list = ListOf(argc, argv)) list->deleteItem(IntAt(argc, argv, 1));
    *result = Value{};
}

void LvDeleteAll(Value* result, int32_t argc, const Value* argv) {
    if (ReportListControl* list = ListOf(argc, argv)) list->deleteAll();
    *result = Value{};
}

void LvEnsureVisible(Value* result, int32_t argc, const Value* argv) {
    if (ReportListControl* list = ListOf(argc, argv)) list->ensureVisible(IntAt(argc, argv, 1));
    *result = Value{};
}

void LvColumnCount(Value* result, int32_t argc, const Value* argv) {
    ReportListControl* list = ListOf(argc, argv);
    *result = MakeInt(list ? list->columnCount() : 0);
}

void LvColumnTitle(Value* result, int32_t argc, const Value* argv) {
    ReportListControl* list = ListOf(argc, argv);
    std::string title = list ? list->columnTitle(IntAt(argc, argv, 1)) : std::string();
    if (title.size() > 1024) title.resize(1024);
    SetTextResult(result, title);
}

void LvColumnAlign(Value* result, int32_t argc, const Value* argv) {
    ReportListControl* list = ListOf(argc, argv);
    *result = MakeInt(list ? list->columnAlign(IntAt(argc, argv, 1)) : 0);
}

void LvColumnWidth(Value* result, int32_t argc, const Value* argv) {
    ReportListControl* list = ListOf(argc, argv);
    *result = MakeInt(list ? list->columnWidth(IntAt(argc, argv, 1)) : 0);
}

void LvSetColumnWidth(Value* result, int32_t argc, const Value* argv) {
    *result = Value{};
    ReportListControl* list = ListOf(argc, argv);
    const int32_t column = IntAt(argc, argv, 1);
    if (list == nullptr || column < 0 || column >= list->columnCount()) return;
    const int32_t width = std::max(-2, IntOr(argc, argv, 2, -1));
    if (width >= 0) {
        list->setColumnWidth(column, width);
        return;
    }
    list->setColumnWidth(column, -1);
    int32_t fit = list->columnWidth(column);
    if (width == -2) {
        // The header's size, widened to the contents so that no cell is cut.
        list->setColumnWidth(column, -2);
        fit = std::max(fit, list->columnWidth(column));
    }
    if (column == list->columnCount() - 1) {
        int32_t others = 0;
        for (int32_t c = 0; c < column; ++c) others += list->columnWidth(c);
        fit = std::max(fit, AvailableWidth(*list) - others);
    }
    list->setColumnWidth(column, fit);
}

}  // namespace tavrin::form_commands
