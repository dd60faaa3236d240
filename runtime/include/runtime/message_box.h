// The one seam through which every message box and standard dialog is shown.
// Tests install a responder that records the request and answers it; without
// one, the dialog the shell installed runs (a real modal Qt box).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// Buttons as the commands return them.
enum MessageBoxButton : int32_t {
    kButtonOk = 0,
    kButtonCancel = 1,
    kButtonAbort = 2,
    kButtonRetry = 3,
    kButtonIgnore = 4,
    kButtonYes = 5,
    kButtonNo = 6,
};

// Style bits: the buttons in the low 4 bits, the icon in the next 4; default
// button 256, 512; 4096 system-modal.
enum MessageBoxStyle : uint32_t {
    kStyleOk = 0,
    kStyleOkCancel = 1,
    kStyleAbortRetryIgnore = 2,
    kStyleYesNoCancel = 3,
    kStyleYesNo = 4,
    kStyleRetryCancel = 5,
    kStyleButtonsMask = 0x0F,
    kIconStop = 16,
    kIconQuestion = 32,
    kIconExclamation = 48,
    kIconInformation = 64,
    kStyleIconMask = 0xF0,
};
struct MessageBoxRequest {
    std::string text;     // GBK
    std::string caption;  // GBK
    uint32_t style = 0;
};
using MessageBoxResponder = std::function<int32_t(const MessageBoxRequest&)>;

// The buttons a style shows, in the order they are shown (their codes).
std::vector<int32_t> MessageBoxButtons(uint32_t style);
// The answer of a box closed without a choice (Esc or the close box).
int32_t MessageBoxEscapeAnswer(uint32_t style);

// The real dialog, installed by the shell with the application object. A
// program without one (a tool without windows) writes the text to standard
// error, and the box answers as if it had been closed.
using MessageBoxPresenter = int32_t (*)(const MessageBoxRequest& request);
void SetMessageBoxPresenter(MessageBoxPresenter presenter);

// Installs (or, with an empty function, removes) the automatic responder.
void SetMessageBoxResponder(MessageBoxResponder responder);
// Shows a message box (no owner window) and returns the pressed button 0–6.
int32_t ShowMessageBox(std::string_view gbkText, std::string_view gbkCaption, uint32_t style);

// Other standard dialogs (font, colour, file, print, password) go through the
// same kind of seam: the request names the dialog and carries its fields; the
// reply says whether the user confirmed and carries the chosen fields.
struct DialogRequest {
    std::string kind;  // "font", "color", "open-file", "save-file", "print", "password", ...
    std::map<std::string, std::string> fields;  // UTF-8
};
struct DialogReply {
    bool accepted = false;
    std::map<std::string, std::string> fields;  // UTF-8
};
// Returns a reply to answer the dialog, or nullopt to let the real dialog run.
using DialogResponder = std::function<std::optional<DialogReply>(const DialogRequest&)>;
void SetDialogResponder(DialogResponder responder);
// The installed responder's answer, or nullopt when none is installed or it declines.
std::optional<DialogReply> AnswerDialogAutomatically(const DialogRequest& request);

}  // namespace tavrin
