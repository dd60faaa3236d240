// The message-box and dialog seam: a test's responder, else the shell's dialog,
// else standard error for a program without windows.
#include "runtime/message_box.h"

#include <cstdio>

#include "runtime/gbk.h"

namespace tavrin {
namespace {

MessageBoxResponder& Responder() {
    static MessageBoxResponder r;
    return r;
}
MessageBoxPresenter g_presenter = nullptr;
DialogResponder& DialogSeam() {
    static DialogResponder r;
    return r;
}

}  // namespace

std::vector<int32_t> MessageBoxButtons(uint32_t style) {
    switch (style & kStyleButtonsMask) {
        case kStyleOkCancel:
            return {kButtonOk, kButtonCancel};
        case kStyleAbortRetryIgnore:
            return {kButtonAbort, kButtonRetry, kButtonIgnore};
        case kStyleYesNoCancel:
            return {kButtonYes, kButtonNo, kButtonCancel};
        case kStyleYesNo:
            return {kButtonYes, kButtonNo};
        case kStyleRetryCancel:
            return {kButtonRetry, kButtonCancel};
        default:
            return {kButtonOk};
    }
}

int32_t MessageBoxEscapeAnswer(uint32_t style) {
    const std::vector<int32_t> buttons = MessageBoxButtons(style);
    for (int32_t b : buttons)
        if (b == kButtonCancel || b == kButtonNo) return b;
    return buttons.back();
}

void SetMessageBoxPresenter(MessageBoxPresenter presenter) {
    g_presenter = presenter;
}

void SetMessageBoxResponder(MessageBoxResponder responder) {
    Responder() = std::move(responder);
}

int32_t ShowMessageBox(std::string_view gbkText, std::string_view gbkCaption, uint32_t style) {
    MessageBoxRequest request{std::string(gbkText), std::string(gbkCaption), style};
    if (Responder()) return Responder()(request);
    if (g_presenter != nullptr) return g_presenter(request);
    std::fprintf(stderr, "%s: %s\n", GbkToUtf8(request.caption).c_str(),
                 GbkToUtf8(request.text).c_str());
    return MessageBoxEscapeAnswer(style);
}

void SetDialogResponder(DialogResponder responder) {
    DialogSeam() = std::move(responder);
}

std::optional<DialogReply> AnswerDialogAutomatically(const DialogRequest& request) {
    if (!DialogSeam()) return std::nullopt;
    return DialogSeam()(request);
}

}  // namespace tavrin
