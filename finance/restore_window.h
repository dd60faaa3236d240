// The restore window: the backup pairs of the program directory with what
// each holds, and putting the chosen one back in place of the item files.
#pragma once

namespace tavrin::finance {

// Menu "恢复备份…": the window, modal over the main window.
void OpenRestoreWindow();
// The window's creation event: the pairs listed.
void RestoreWindowCreated();
// "恢复所选备份": after a question, the pair goes back and the lists show it.
void RestoreChosenBackup();
void CloseRestoreWindow();

}  // namespace tavrin::finance
