// The find bar above the item lists (Ctrl+F, menu 系统 → 查找): the shown
// side's list keeps only the rows that match as the person types; Escape or
// the close button gives the list back as it was.
#pragma once

namespace tavrin::finance {

// Builds the (hidden) bar and the Ctrl+F key on a new main window.
void InstallFindBar();
// Shows the bar over the shown side's list, or focuses it when it is shown.
void OpenFindBar();
// Hides the bar; the list shows every row again, with the same row selected.
void CloseFindBar();
bool FindBarOpen();

}  // namespace tavrin::finance
