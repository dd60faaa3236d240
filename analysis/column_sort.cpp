// Column sorting of the item lists. The order is that of binary insertion of
// each row's key after the keys that compare equal, which is what a stable
// sort gives; the rows are moved inside the list model in one pass, so their
// record serials (the rows' data words) move with them.
#include "analysis/column_sort.h"

#include <algorithm>
#include <numeric>
#include <string_view>
#include <vector>

#include "analysis_text_constants.h"
#include "app_tpl_templates.h"
#include "finance/ui.h"
#include "forms/report_list.h"
#include "runtime/kernel/gbk_scan.h"

namespace tavrin::analysis {

namespace ids = app_tpl::ids;

namespace {

int32_t& DirectionFlag(uint32_t list) {
    static int32_t income = 0, expense = 0;
    return list == ids::IncomeList ? income : expense;
}

}  // namespace

void SortListByColumn(uint32_t list, int32_t column) {
    if (column < 0) {
        finance::ShowMessage(analysis_text::ChooseColumnHeader, tavrin::kIconInformation,
                             analysis_text::HintCaption);
        return;
    }
    int32_t& flag = DirectionFlag(list);
    flag = flag == 0 ? 1 : 0;
    auto* control =
        tavrin::forms::FindControlAs<tavrin::forms::ReportListControl>(ids::MainWindow, list);
    if (control == nullptr) return;
    tavrin::forms::ReportListModel* model = control->model();
    const int32_t n = model->rows();
    std::vector<std::string_view> keys(static_cast<size_t>(n));
    for (int32_t r = 0; r < n; ++r) keys[size_t(r)] = model->text(r, column);
    std::vector<int32_t> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    const bool ascending = flag == 1;
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
        const int c = tavrin::kernel::GbkCompare(keys[size_t(a)], keys[size_t(b)], true);
        return ascending ? c < 0 : c > 0;
    });
    model->reorderRows(order);
}

void ResetSortDirections() {
    DirectionFlag(ids::IncomeList) = 0;
    DirectionFlag(ids::ExpenseList) = 0;
}

}  // namespace tavrin::analysis
