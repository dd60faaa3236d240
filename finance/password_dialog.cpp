#include "password_dialog.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <optional>
#include <string>

#include "recordstore/password_asker.h"
#include "runtime/gbk.h"
#include "runtime/message_box.h"

namespace tavrin::finance {

namespace {

std::optional<std::string> AskInDialog(const rs::PasswordQuestion& question) {
    DialogRequest request;
    request.kind = "password";
    request.fields["caption"] = GbkToUtf8(question.caption);
    request.fields["prompt"] = GbkToUtf8(question.prompt);
    if (!question.warning.empty()) request.fields["message"] = GbkToUtf8(question.warning);
    if (std::optional<DialogReply> reply = AnswerDialogAutomatically(request)) {
        if (!reply->accepted) return std::nullopt;
        return Utf8ToGbk(reply->fields["password"]);
    }
    if (QApplication::instance() == nullptr) return std::nullopt;  // no window system
    QString label = GbkToQString(question.prompt);
    if (!question.warning.empty()) label = GbkToQString(question.warning) + "\n" + label;
    bool ok = false;
    const QString text = QInputDialog::getText(nullptr, GbkToQString(question.caption), label,
                                               QLineEdit::Password, QString(), &ok);
    if (!ok) return std::nullopt;
    return QStringToGbk(text);
}

}  // namespace

void InstallPasswordDialog() {
    rs::SetPasswordAsker(&AskInDialog);
}

}  // namespace tavrin::finance
