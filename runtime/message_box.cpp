// The message-box and dialog seam, and the mapping of message-box styles to Qt.
#include "runtime/message_box.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSpacerItem>
#include <vector>

#include "runtime/gbk.h"

namespace tavrin {
namespace {

MessageBoxResponder& Responder() {
    static MessageBoxResponder r;
    return r;
}
DialogResponder& DialogSeam() {
    static DialogResponder r;
    return r;
}

struct ButtonSpec {
    QMessageBox::StandardButton button;
    int32_t code;
};

// The buttons of a style's low four bits, in the order they are shown.
std::vector<ButtonSpec> ButtonsFor(uint32_t style) {
    switch (style & kStyleButtonsMask) {
        case kStyleOkCancel:
            return {{QMessageBox::Ok, kButtonOk}, {QMessageBox::Cancel, kButtonCancel}};
        case kStyleAbortRetryIgnore:
            return {{QMessageBox::Abort, kButtonAbort},
                    {QMessageBox::Retry, kButtonRetry},
                    {QMessageBox::Ignore, kButtonIgnore}};
        case kStyleYesNoCancel:
            return {{QMessageBox::Yes, kButtonYes},
                    {QMessageBox::No, kButtonNo},
                    {QMessageBox::Cancel, kButtonCancel}};
        case kStyleYesNo:
            return {{QMessageBox::Yes, kButtonYes}, {QMessageBox::No, kButtonNo}};
        case kStyleRetryCancel:
            return {{QMessageBox::Retry, kButtonRetry}, {QMessageBox::Cancel, kButtonCancel}};
        default:
            return {{QMessageBox::Ok, kButtonOk}};
    }
}

QMessageBox::Icon IconFor(uint32_t style) {
    switch (style & kStyleIconMask) {
        case kIconStop:
            return QMessageBox::Critical;
        case kIconQuestion:
            return QMessageBox::Question;
        case kIconExclamation:
            return QMessageBox::Warning;
        case kIconInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// The button a box answers when closed without a choice (Esc or close box).
int32_t EscapeAnswer(const std::vector<ButtonSpec>& buttons) {
    for (const ButtonSpec& b : buttons)
        if (b.code == kButtonCancel || b.code == kButtonNo) return b.code;
    return buttons.size() == 1 ? buttons[0].code : buttons.back().code;
}

// The window a box belongs to: the program's active window (a modal one first),
// else its first visible window. The box is centred over it and kept above it.
QWidget* OwnerWindow() {
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    if (QWidget* w = QApplication::activeWindow()) return w;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = w->windowType();
        if (w->isVisible() && (type == Qt::Window || type == Qt::Dialog)) return w;
    }
    return nullptr;
}

// A narrow box would leave its caption no room in the title bar beside the
// window manager's buttons; the box is widened to the caption plus that room.
void WidenForCaption(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    constexpr int kTitleBarButtonsRoom = 150;
    const int width =
        box.fontMetrics().horizontalAdvance(box.windowTitle()) * 5 / 4 + kTitleBarButtonsRoom;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

void SetMessageBoxResponder(MessageBoxResponder responder) {
    Responder() = std::move(responder);
}

int32_t ShowMessageBox(std::string_view gbkText, std::string_view gbkCaption, uint32_t style) {
    if (Responder()) {
        return Responder()(MessageBoxRequest{std::string(gbkText), std::string(gbkCaption), style});
    }
    if (QApplication::instance() == nullptr) return EscapeAnswer(ButtonsFor(style));
    const std::vector<ButtonSpec> buttons = ButtonsFor(style);
    QMessageBox::StandardButtons set;
    for (const ButtonSpec& b : buttons) set |= b.button;
    // On the heap: the owner may be destroyed while the box is open, and takes the box along.
    QPointer<QMessageBox> box = new QMessageBox(IconFor(style), GbkToQString(gbkCaption),
                                                GbkToQString(gbkText), set, OwnerWindow());
    size_t defaultIndex = (style & 512) ? 2 : (style & 256) ? 1 : 0;
    if (defaultIndex < buttons.size()) box->setDefaultButton(buttons[defaultIndex].button);
    if (style & 4096) box->setWindowModality(Qt::ApplicationModal);
    WidenForCaption(*box);
    const int pressed = box->exec();
    delete box.data();
    for (const ButtonSpec& b : buttons)
        if (pressed == b.button) return b.code;
    return EscapeAnswer(buttons);
}

void SetDialogResponder(DialogResponder responder) {
    DialogSeam() = std::move(responder);
}

std::optional<DialogReply> AnswerDialogAutomatically(const DialogRequest& request) {
    if (!DialogSeam()) return std::nullopt;
    return DialogSeam()(request);
}

}  // namespace tavrin
