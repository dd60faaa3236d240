// The main window: start-up in its fixed order, layout on resize, the year
// pages, and the small handlers of its menus and lists.
#pragma once

#include <cstdint>

namespace tavrin::finance {

void MainWindowStartUp();
void LayoutMainWindow();
// Adds a page to 高级选择夹年 for every listed year the template does not carry,
// keeping the year pages in ascending order after "年合计".
void AddYearPagesForListedYears();
// After the item files were emptied: the years are read again from both files
// and the pages of years no item has any more go (the template's own years stay) (the selected one
// among them gives way to "年合计", with the page-change handling a click gets).
void DropYearPagesWithoutItems();
// Makes a page of 高级选择夹1 current with the same handling as a click on its tab.
void ShowMainPage(int32_t page);

// Category combo box, list event 0 (an entry chosen): nothing beyond the choice.
void CategoryChosen();
void ShowIncomePopup();
void ShowExpensePopup();
// The arrow of the tool-bar button "帮助": the pop-up menu "帮助菜单" at the mouse.
void ShowHelpMenu();
void ShowAboutBox();
void CloseAboutBox();
void ExitAtOnce();

}  // namespace tavrin::finance
