// The event numbers a window template binds handlers to (`on <number> <handler>`),
// each kind's in a namespace of its own. The numbers are stored in the
// templates' event bindings, so they never change; the kinds raise them by
// these names. Plain constants, so that any layer (the template compiler too)
// may include this header without the window layer's Qt parts.
#pragma once

#include <cstdint>

#include "forms/template_format.h"

namespace tavrin::forms {

// A window's own record.
namespace WindowEvent {
enum : int32_t {
    kCreated = 0,
    kMayClose = 1,  // result bool: false keeps the window open
    kDestroyed = 2,
    kMoved = 3,
    kResized = 4,
    kActivated = 5,
    kDeactivated = 6,
    kNotified = 7,
    kFirstActivated = 8,
    kTrayIconClicked = 9,
    kShown = 10,
    kHidden = 11,
};
}  // namespace WindowEvent

// Common events of every window and control, raised from the platform's mouse
// and key messages before the control handles them.
namespace CommonEvent {
enum : int32_t {
    kLeftDown = -1,
    kLeftUp = -2,
    kLeftDoubleClick = -3,
    kRightDown = -4,
    kRightUp = -5,
    kMouseMove = -6,
    kFocusIn = -7,
    kFocusOut = -8,
    kKeyDown = -9,
    kKeyUp = -10,
    kCharacter = -11,  // a handler result replaces the character, 0 swallows it
    kWheel = -12,
};
}  // namespace CommonEvent

// Button, check box and radio button.
namespace ButtonEvent {
enum : int32_t { kClicked = 0 };
}

// Combo box. A text set by the program raises no kTextEdited.
namespace ComboEvent {
enum : int32_t {
    kChosen = 0,  // raised after the choice is committed
    kTextEdited = 1,
    kDroppedDown = 2,
    kClosedUp = 3,
    kDoubleClicked = 4,
};
}  // namespace ComboEvent

// List box.
namespace ListBoxEvent {
enum : int32_t { kSelectionChanged = 0, kDoubleClicked = 1 };
}

// Check list box: an entry was ticked or unticked by the person (int argument: its row).
namespace CheckListEvent {
enum : int32_t { kTicked = 0 };
}

// Date picker and colour picker: the person changed the value.
namespace PickerEvent {
enum : int32_t { kChanged = 0 };
}

// Page control: the person turned to another page.
namespace PageEvent {
enum : int32_t { kPageChanged = 0 };
}

// Tool bar (int argument: the button's index, separators counted).
namespace ToolBarEvent {
enum : int32_t { kButtonClicked = 0, kArrowClicked = 1 };
}

namespace TimerEvent {
enum : int32_t { kElapsed = 0 };
}

// Report list view.
namespace ListViewEvent {
enum : int32_t {
    kRowChanged = 0,  // the focused row changed
    kActivated = 1,
    kColumnClicked = 2,  // int argument: the column, 0-based
    kHotRowChanged = 3,  // int argument: the row under the mouse
    kClicked = 4,
    kRightClicked = 5,  // after 4 and 5 a click on a row's check box toggles it
};
}  // namespace ListViewEvent

// How many events of its own a kind raises, numbered from 0 (a window counts
// its window events). A kind not listed raises only the common events; a kind
// that a higher layer gives events of its own must be listed here, or the
// template compiler refuses bindings to them.
constexpr int32_t OwnEventCount(uint32_t typeId) {
    using namespace TypeId;
    switch (typeId) {
        case kWindow:
            return WindowEvent::kHidden + 1;
        case kButton:
        case kCheckBox:
        case kRadioButton:
            return ButtonEvent::kClicked + 1;
        case kComboBox:
            return ComboEvent::kDoubleClicked + 1;
        case kListBox:
            return ListBoxEvent::kDoubleClicked + 1;
        case kCheckListBox:
            return CheckListEvent::kTicked + 1;
        case kDatePicker:
        case kColorPicker:
            return PickerEvent::kChanged + 1;
        case kPageControl:
            return PageEvent::kPageChanged + 1;
        case kToolBar:
            return ToolBarEvent::kArrowClicked + 1;
        case kTimer:
            return TimerEvent::kElapsed + 1;
        case kReportList:
            return ListViewEvent::kRightClicked + 1;
        default:
            return 0;
    }
}

// True when an item of the kind can raise the event: a binding to any other
// number would never be called.
constexpr bool KindRaises(uint32_t typeId, int32_t event) {
    const bool common = event >= CommonEvent::kWheel && event <= CommonEvent::kLeftDown;
    return common || (event >= 0 && event < OwnEventCount(typeId));
}

}  // namespace tavrin::forms
