// Property indices of the built-in kinds. Common indices 0–7 belong to every
// window and control; a kind's own property number n is read and written as
// index 8 + n through ReadProperty / WriteProperty.
#pragma once

#include <cstdint>

namespace tavrin::forms {

namespace Prop {
constexpr int32_t kLeft = 0;
constexpr int32_t kTop = 1;
constexpr int32_t kWidth = 2;
constexpr int32_t kHeight = 3;
constexpr int32_t kMark = 4;
constexpr int32_t kVisible = 5;
constexpr int32_t kDisabled = 6;
constexpr int32_t kMousePointer = 7;
constexpr int32_t kOwn = 8;  // first type-specific index
}  // namespace Prop

// Menu item properties.
namespace MenuProp {
constexpr int32_t kCaption = 0;
constexpr int32_t kChecked = 1;
constexpr int32_t kDisabled = 2;
constexpr int32_t kVisible = 3;
}  // namespace MenuProp

// Own property numbers (add Prop::kOwn for the index).
namespace WindowProp {
enum : int32_t { kCaption, kBackColor, kFont };
}
namespace EditProp {
enum : int32_t {
    kContent,
    kReadOnly,
    kMaxLength,
    kFont,
    kTextColor,
    kBackColor,
    kPassword,
    kMultiLine
};
}
namespace LabelProp {
enum : int32_t { kCaption, kFont, kTextColor, kBackColor, kAlign };
}
namespace ButtonProp {
enum : int32_t { kCaption, kFont };
}
namespace CheckProp {
enum : int32_t { kCaption, kChecked, kFont };
}  // namespace CheckProp
namespace GroupProp {
enum : int32_t { kCaption, kFont };
}
namespace ShapeProp {
enum : int32_t { kStyle, kLineColor, kFillColor };
}
namespace PictureProp {
enum : int32_t { kPicture, kBackColor };
}
namespace ComboProp {
enum : int32_t { kContent, kCurrent, kCount, kFont };
}
namespace ListProp {
enum : int32_t { kCurrent, kCount, kFont };
}  // namespace ListProp
namespace DateProp {
enum : int32_t { kValue, kFont };
}
namespace ColorProp {
enum : int32_t { kColor };
}
namespace DialogProp {
enum : int32_t { kKind, kFont, kColor, kFileName, kTitle, kFilter };
}
namespace TimerProp {
enum : int32_t { kInterval };
}
namespace PrinterProp {
enum : int32_t { kDocumentTitle };
}
namespace StatusProp {
enum : int32_t { kPaneCount, kFont };
}
namespace ToolProp {
enum : int32_t { kButtonCount };
}
namespace ListViewProp {
enum : int32_t { kCurrent, kCount, kGridLines, kCheckBoxes, kFont };
}
namespace PageProp {
enum : int32_t { kCurrent, kPageCount, kFont };
}

}  // namespace tavrin::forms
