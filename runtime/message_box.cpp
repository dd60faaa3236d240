// The message-box and dialog seam, and the mapping of message-box styles to Qt.
#include "runtime/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
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
    switch (style & 0xF) {
        case 1: return {{QMessageBox::Ok, kButtonOk}, {QMessageBox::Cancel, kButtonCancel}};
        case 2:
            return {{QMessageBox::Abort, kButtonAbort},
                    {QMessageBox::Retry, kButtonRetry},
                    {QMessageBox::Ignore, kButtonIgnore}};
        case 3:
            return {{QMessageBox::Yes, kButtonYes},
                    {QMessageBox::No, kButtonNo},
                    {QMessageBox::Cancel, kButtonCancel}};
        case 4: return {{QMessageBox::Yes, kButtonYes}, {QMessageBox::No, kButtonNo}};
        case 5: return {{QMessageBox::Retry, kButtonRetry}, {QMessageBox::Cancel, kButtonCancel}};
        default: return {{QMessageBox::Ok, kButtonOk}};
    }
}

QMessageBox::Icon IconFor(uint32_t style) {
    switch (style & 0xF0) {
        case 16: return QMessageBox::Critical;
        case 32: return QMessageBox::Question;
        case 48: return QMessageBox::Warning;
        case 64: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

// The button a box answers when closed without a choice (Esc or close box).
int32_t EscapeAnswer(const std::vector<ButtonSpec>& buttons) {
    for (const ButtonSpec& b : buttons)
        if (b.code == kButtonCancel || b.code == kButtonNo) return b.code;
    return buttons.size() == 1 ? buttons[0].code : buttons.back().code;
}

}  // namespace

void SetMessageBoxResponder(MessageBoxResponder responder) { Responder() = std::move(responder); }

int32_t ShowMessageBox(std::string_view gbkText, std::string_view gbkCaption, uint32_t style) {
    if (Responder()) {
        return Responder()(MessageBoxRequest{std::string(gbkText), std::string(gbkCaption), style});
    }
    if (QApplication::instance() == nullptr) return EscapeAnswer(ButtonsFor(style));
    const std::vector<ButtonSpec> buttons = ButtonsFor(style);
    QMessageBox box(IconFor(style), GbkToQString(gbkCaption), GbkToQString(gbkText));
    QMessageBox::StandardButtons set;
    for (const ButtonSpec& b : buttons) set |= b.button;
    box.setStandardButtons(set);
    size_t defaultIndex = (style & 512) ? 2 : (style & 256) ? 1 : 0;
    if (defaultIndex < buttons.size()) box.setDefaultButton(buttons[defaultIndex].button);
    if (style & 4096) box.setWindowModality(Qt::ApplicationModal);
    int pressed = box.exec();
    for (const ButtonSpec& b : buttons)
        if (pressed == b.button) return b.code;
    return EscapeAnswer(buttons);
}

void SetDialogResponder(DialogResponder responder) { DialogSeam() = std::move(responder); }

std::optional<DialogReply> AnswerDialogAutomatically(const DialogRequest& request) {
    if (!DialogSeam()) return std::nullopt;
    return DialogSeam()(request);
}

}  // namespace tavrin
