// Column sorting of the item lists. A column whose cells all read as numbers
// sorts by number, one whose cells all read as dates by date, any other by its
// texts; rows with equal keys keep their order in both directions. The rows are
// moved inside the list model in one pass, so their record serials (the rows'
// data words) move with them.
#include "column_sort.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <numeric>
#include <string_view>
#include <vector>

#include "analysis_text_constants.h"
#include "app_tpl_templates.h"
#include "forms/report_list.h"
#include "runtime/kernel/gbk_scan.h"
#include "ui/window_access.h"

namespace tavrin::analysis {

namespace ids = app_tpl::ids;

namespace {

int32_t& DirectionFlag(uint32_t list) {
    static int32_t income = 0, expense = 0;
    return list == ids::IncomeList ? income : expense;
}

// A plain decimal as the lists write amounts and serials ("-3.2", "12345.67"):
// an optional minus, digits, at most one point. Exponents and "inf" are texts.
bool ReadNumber(std::string_view cell, double* out) {
    const size_t digitsFrom = !cell.empty() && cell[0] == '-' ? 1 : 0;
    if (cell.size() <= digitsFrom || cell[digitsFrom] < '0' || cell[digitsFrom] > '9') return false;
    for (size_t i = digitsFrom; i < cell.size(); ++i)
        if ((cell[i] < '0' || cell[i] > '9') && cell[i] != '.') return false;
    const auto [end, error] = std::from_chars(cell.data(), cell.data() + cell.size(), *out);
    return error == std::errc() && end == cell.data() + cell.size();
}

// A date as the lists write it ("2016年1月5日", a time of day "9时30分0秒"
// after it or part of one): at least year, month and day, each number followed
// by its mark in this order. The key counts seconds, so dates and times order
// as the calendar does.
bool ReadDate(std::string_view cell, double* out) {
    static const char* const kMarks[] = {analysis_text::YearMark,   analysis_text::MonthMark,
                                         analysis_text::DayMark,    analysis_text::HourMark,
                                         analysis_text::MinuteMark, analysis_text::SecondMark};
    int64_t parts[6] = {0, 0, 0, 0, 0, 0};
    size_t at = 0;
    int found = 0;
    while (at < cell.size() && found < 6) {
        int64_t n = 0;
        const auto [end, error] = std::from_chars(cell.data() + at, cell.data() + cell.size(), n);
        if (error != std::errc() || n < 0 || end == cell.data() + at) return false;
        at = size_t(end - cell.data());
        const std::string_view mark = kMarks[found];
        if (cell.substr(at, mark.size()) != mark) return false;
        at += mark.size();
        parts[found++] = n;
    }
    if (at != cell.size() || found < 3) return false;
    const int64_t day = (parts[0] * 13 + parts[1]) * 32 + parts[2];
    *out = double(((day * 24 + parts[3]) * 60 + parts[4]) * 60 + parts[5]);
    return true;
}

// Every cell's key by `read`; false (and `keys` unusable) at the first cell it refuses.
bool ReadKeys(const std::vector<std::string_view>& cells, bool (*read)(std::string_view, double*),
              std::vector<double>& keys) {
    keys.resize(cells.size());
    for (size_t r = 0; r < cells.size(); ++r)
        if (!read(cells[r], &keys[r])) return false;
    return true;
}

}  // namespace

void SortListByColumn(uint32_t list, int32_t column) {
    if (column < 0) {
        ui::ShowMessage(analysis_text::ChooseColumnHeader, tavrin::kIconInformation,
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
    std::vector<std::string_view> cells(static_cast<size_t>(n));
    for (int32_t r = 0; r < n; ++r) cells[size_t(r)] = model->text(r, column);
    std::vector<int32_t> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    const bool ascending = flag == 1;
    std::vector<double> keys;
    if (n > 0 && (ReadKeys(cells, &ReadNumber, keys) || ReadKeys(cells, &ReadDate, keys))) {
        std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
            return ascending ? keys[size_t(a)] < keys[size_t(b)]
                             : keys[size_t(a)] > keys[size_t(b)];
        });
    } else {
        std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
            const int c = tavrin::kernel::GbkCompare(cells[size_t(a)], cells[size_t(b)], true);
            return ascending ? c < 0 : c > 0;
        });
    }
    model->reorderRows(order);
}

void ResetSortDirections() {
    DirectionFlag(ids::IncomeList) = 0;
    DirectionFlag(ids::ExpenseList) = 0;
}

}  // namespace tavrin::analysis
