// The window frame around the client area: a template's window size is its
// outer size, the widget's size is the client size within this frame.
#pragma once

namespace tavrin::forms {

constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 30;

}  // namespace tavrin::forms
