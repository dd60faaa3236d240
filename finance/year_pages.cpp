// The main window's pages: the year pages in step with the years the files
// hold, and a main page made current with the handling a click on its tab gets.
#include "year_pages.h"

#include <cstdlib>
#include <set>
#include <string>

#include "data_files.h"
#include "finance/hooks.h"
#include "finance/period_views.h"
#include "finance/sides.h"
#include "forms/page_control.h"
#include "forms/window_system.h"
#include "listing.h"
#include "record_scan.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/kernel/conversion_commands.h"
#include "runtime/owned_text.h"
#include "ui/window_access.h"

namespace tavrin::finance {

using namespace tavrin::ui;

namespace {

// The years the window's template gives pages of its own.
std::set<int32_t>& TemplateYears() {
    static std::set<int32_t> years;
    return years;
}

}  // namespace

void NoteTemplateYears() {
    auto* pages = forms::FindControlAs<forms::PageControl>(ids::MainWindow, ids::YearPages);
    TemplateYears().clear();
    for (int32_t p = 1; pages && p < pages->pageCount(); ++p)
        TemplateYears().insert(std::atoi(pages->pageTitle(p).c_str()));
}

void AddYearPagesForListedYears() {
    auto* pages = forms::FindControlAs<forms::PageControl>(ids::MainWindow, ids::YearPages);
    if (!pages) return;
    std::set<int32_t> years = ListedYears();
    for (int32_t p = 1; p < pages->pageCount(); ++p)
        years.insert(std::atoi(pages->pageTitle(p).c_str()));
    years.erase(0);
    // Ascending order after "年合计": pages whose caption is out of place are
    // rebuilt, and the year that was selected stays selected (the lists and the
    // pie show that year; no page-change handling is due for it).
    const std::string selected = pages->pageTitle(pages->current());
    int32_t p = 1;
    for (int32_t year : years) {
        const std::string caption = std::to_string(year);
        if (p < pages->pageCount() && pages->pageTitle(p) == caption) {
            ++p;
            continue;
        }
        while (pages->pageCount() > p) pages->removePage(pages->pageCount() - 1);
        pages->addPage(caption);
        ++p;
    }
    for (int32_t q = 0; q < pages->pageCount(); ++q)
        if (pages->pageTitle(q) == selected && q != pages->current()) pages->setCurrent(q);
}

void DropYearPagesWithoutItems() {
    auto* pages = forms::FindControlAs<forms::PageControl>(ids::MainWindow, ids::YearPages);
    if (!pages) return;
    ForgetListedYears();
    for (const Side* side : {&IncomeSide(), &ExpenseSide()}) {
        OpenedDataFile file(side->file);
        if (!file) return;  // years that cannot be read keep their pages
        CallKernel(GoToFirstRecord);
        const rs::Code read = ScanCurrentDatabase([&](int32_t, int32_t) {
            const OwnedText time(CallKernel(ReadField, MakeTextRef(side->timeField)));
            NoteListedYear(TakeText(CallKernel(ToText, time.value())));
        });
        if (read != rs::Code::kOk) return;
    }
    const std::set<int32_t>& years = ListedYears();
    bool selectedGone = false;
    for (int32_t p = pages->pageCount() - 1; p >= 1; --p) {
        const int32_t year = std::atoi(pages->pageTitle(p).c_str());
        if (years.count(year) || TemplateYears().count(year)) continue;
        selectedGone = selectedGone || p == pages->current();
        if (p == pages->current()) pages->setCurrent(0);
        pages->removePage(p);
    }
    if (selectedGone) YearPageChanged();
}

void ShowMainPage(int32_t page) {
    if (CurrentPage(ids::MainPages) == page) return;
    SetCurrentPage(ids::MainPages, page);
    // Writing the page raises no page-change event; its handling runs here as
    // for a click on the tab (the chart frame's visibility, the shown side's pie).
    MainPageChanged();
}

}  // namespace tavrin::finance
