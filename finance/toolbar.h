// The tool bar's dispatcher, its help drop-down and the two web pages.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace finance {

// The button index counts separators.
void ToolbarCommand(int32_t index);
// The arrow of "帮助": the pop-up menu "帮助菜单" at the mouse.
void ShowHelpMenu();
void OpenBlogPage();
void OpenDownloadPage();

// OpenDocument through the shell; tests replace the opener (UTF-8 address).
using DocumentOpener = std::function<void(const std::string& address)>;
void SetDocumentOpener(DocumentOpener opener);

}  // namespace finance
