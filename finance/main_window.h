// The main window: start-up in its fixed order, layout on resize, the year
// pages, and the small handlers of its menus and lists.
#pragma once

#include <cstdint>

namespace tavrin::finance {

void MainWindowStartUp();
void LayoutMainWindow();
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
