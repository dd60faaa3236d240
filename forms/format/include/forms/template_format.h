// The binary layout of the window template segment: ids, type ids, state bits
// and the tags of each kind's type data. Shared by the reader in forms/ and the
// template compiler, so it holds plain constants only (no Qt, no runtime).
#pragma once

#include <cstdint>

namespace tavrin::forms {

// Id ranges.
constexpr uint32_t kWindowIdBase = 0x52010000;
constexpr uint32_t kWindowItemIdBase = 0x06010000;  // a window's own record
constexpr uint32_t kControlIdBase = 0x16010000;
constexpr uint32_t kMenuItemIdBase = 0x26010000;
constexpr uint32_t kHandlerModuleIdBase = 0x19010000;
// A menu item id has the high nibble 2 together with the 0x06000000 bits.
inline bool IsMenuItemId(uint32_t id) {
    return (id & 0xF0000000u) == 0x20000000u && (id & 0x06000000u) == 0x06000000u;
}

// Type ids: (library << 16) | number.
namespace TypeId {
constexpr uint32_t kWindow = 0x00010001;
constexpr uint32_t kMenuItem = 0x00010003;
constexpr uint32_t kEdit = 0x00010005;
constexpr uint32_t kPictureBox = 0x00010006;
constexpr uint32_t kShapeBox = 0x00010007;
constexpr uint32_t kGroupBox = 0x00010009;
constexpr uint32_t kLabel = 0x0001000A;
constexpr uint32_t kButton = 0x0001000B;
constexpr uint32_t kCheckBox = 0x0001000C;
constexpr uint32_t kRadioButton = 0x0001000D;
constexpr uint32_t kComboBox = 0x0001000E;
constexpr uint32_t kListBox = 0x0001000F;
constexpr uint32_t kCheckListBox = 0x00010010;
constexpr uint32_t kDatePicker = 0x00010017;
constexpr uint32_t kColorPicker = 0x0001001C;
constexpr uint32_t kCommonDialog = 0x0001001F;
constexpr uint32_t kTimer = 0x00010020;
constexpr uint32_t kPrinter = 0x00010021;
constexpr uint32_t kFieldInfo = 0x00010022;      // record type, never a control
constexpr uint32_t kPrintSettings = 0x00010028;  // record type, never a control
constexpr uint32_t kGrid = 0x00010029;
constexpr uint32_t kTableDataSource = 0x0001002A;
constexpr uint32_t kGeneralProvider = 0x0001002B;
constexpr uint32_t kDatabaseProvider = 0x0001002C;
constexpr uint32_t kStatusBar = 0x00020002;
constexpr uint32_t kToolBar = 0x00020003;
constexpr uint32_t kReportList = 0x00020004;
constexpr uint32_t kTransparentLabel = 0x00020005;
constexpr uint32_t kPageControl = 0x00030002;
constexpr uint32_t kRecordSet = 0x00040002;
constexpr uint32_t kPieChart = 0x00050002;
constexpr uint32_t kLineChart = 0x00050003;
constexpr uint32_t kScript = 0x00080001;
}  // namespace TypeId

// State flags of a window or control record.
constexpr uint32_t kStateVisible = 1u << 0;
constexpr uint32_t kStateDisabled = 1u << 1;
constexpr uint32_t kStateInteractive = 1u << 2;

// Flags of a menu item record.
constexpr uint32_t kMenuHidden = 1u << 0;
constexpr uint32_t kMenuDisabled = 1u << 1;
constexpr uint32_t kMenuChecked = 1u << 2;

// Menu item k of a window's menu run has command number kMenuCommandBase + k.
constexpr int32_t kMenuCommandBase = 20000;
constexpr int32_t kMenuCommandLimit = 57600;

constexpr int32_t kNoHandler = -1;

// Fixed sizes of the records (bytes before the variable parts).
constexpr uint32_t kMenuItemReservedTail = 16;
constexpr uint32_t kItemReservedTailWords = 5;

// Type data: u32 entry count, then per entry u32 tag, u32 length, length bytes.
// Strings inside entries are u32 length + GBK bytes (no terminator).
namespace Tag {
constexpr uint32_t kCaption = 1;      // text
constexpr uint32_t kText = 2;         // text: content of an edit box, combo box text
constexpr uint32_t kFont = 3;         // 60-byte font record
constexpr uint32_t kTextColor = 4;    // i32 0x00BBGGRR
constexpr uint32_t kBackColor = 5;    // i32 0x00BBGGRR
constexpr uint32_t kPicture = 6;      // picture bytes (JPEG)
constexpr uint32_t kItems = 7;        // u32 n; n × (string text, i32 data)
constexpr uint32_t kColumns = 8;      // u32 n; n × (string title, i32 width, i32 align)
constexpr uint32_t kPanes = 9;        // u32 n; n × (string text, i32 width)
constexpr uint32_t kButtons = 10;     // u32 n; n × (i32 image, string text, string tip, u32 style)
constexpr uint32_t kImageList = 11;   // i32 cell width, i32 cell height, picture bytes
constexpr uint32_t kPages = 12;       // u32 n; n × string title
constexpr uint32_t kMultiLine = 13;   // i32 bool
constexpr uint32_t kPassword = 14;    // i32 bool
constexpr uint32_t kReadOnly = 15;    // i32 bool
constexpr uint32_t kChecked = 16;     // i32 bool (check box, radio button)
constexpr uint32_t kInterval = 17;    // i32 milliseconds (timer)
constexpr uint32_t kAlign = 18;       // i32 0 left, 1 centre, 2 right
constexpr uint32_t kBorder = 19;      // i32 border style
constexpr uint32_t kStyle = 20;       // i32 kind-specific style (shape, combo, window)
constexpr uint32_t kMaxLength = 21;   // i32
constexpr uint32_t kDateTime = 22;    // 8-byte double, days since 1899-12-30
constexpr uint32_t kCurrent = 23;     // i32 current item / page
constexpr uint32_t kCheckBoxes = 24;  // i32 bool: report list rows carry check boxes
constexpr uint32_t kGridLines = 25;   // i32 bool
constexpr uint32_t kStartState = 26;  // i32 window: 0 normal, 1 minimised, 2 maximised
constexpr uint32_t kTitle = 27;       // text: printer document title, chart title
constexpr uint32_t kDialogKind = 28;  // i32 common dialog: 0 font, 1 colour, 2 open, 3 save
constexpr uint32_t kSettings = 29;    // u32 n; n × (string key, string value)
constexpr uint32_t kScrollBars = 30;  // i32 0 none, 1 horizontal, 2 vertical, 3 both
constexpr uint32_t kFlat = 31;        // i32 bool
}  // namespace Tag

// Tool bar button style bits.
constexpr uint32_t kButtonSeparator = 1u << 0;
constexpr uint32_t kButtonDisabled = 1u << 1;
constexpr uint32_t kButtonDropDown = 1u << 2;
constexpr uint32_t kButtonCheck = 1u << 3;

// The platform font record: 60 bytes.
constexpr uint32_t kFontRecordSize = 60;
// Where its fields lie.
namespace FontField {
constexpr uint32_t kHeight = 0;        // i32 pixels; negative: the character height
constexpr uint32_t kEscapement = 8;    // i32 tenths of degrees
constexpr uint32_t kOrientation = 12;  // i32 tenths of degrees
constexpr uint32_t kWeight = 16;       // i32 400 normal, 700 bold
constexpr uint32_t kItalic = 20;       // byte flag
constexpr uint32_t kUnderline = 21;    // byte flag
constexpr uint32_t kStrikeOut = 22;    // byte flag
constexpr uint32_t kCharSet = 23;      // byte, 134 for GB2312
constexpr uint32_t kFaceName = 28;     // NUL-padded GBK face name
constexpr uint32_t kFaceNameSize = 32;
}  // namespace FontField

}  // namespace tavrin::forms
