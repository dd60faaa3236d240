// The main window's pages: the year pages in step with the years the files
// hold, and a main page made current with the handling a click on its tab gets.
#pragma once

#include <cstdint>

namespace tavrin::finance {

// Notes the years the window's template gives pages of its own: they stay
// whatever the files hold, as the window was designed.
void NoteTemplateYears();
// Adds a page to 高级选择夹年 for every listed year the template does not carry,
// keeping the year pages in ascending order after "年合计".
void AddYearPagesForListedYears();
// After the item files were emptied: the years are read again from both files
// and the pages of years no item has any more go (the template's own years
// stay); the selected one among them gives way to "年合计", with the
// page-change handling a click gets.
void DropYearPagesWithoutItems();
// Makes a page of 高级选择夹1 current with the same handling as a click on its tab.
void ShowMainPage(int32_t page);

}  // namespace tavrin::finance
