// The tool bar's dispatcher, its help drop-down and the two web pages.
#pragma once

#include <cstdint>

namespace tavrin::finance {

// The button index counts separators.
void ToolbarCommand(int32_t index);
void OpenBlogPage();
void OpenDownloadPage();

}  // namespace tavrin::finance
