// Password check on open. The user is asked through the dialog seam, so a test
// (or a tool without a window system) answers without a real dialog.
#include "recordstore/internal/password.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QInputDialog>
#include <QLineEdit>
#include <cstdio>
#include <optional>

#include "recordstore/internal/record_format.h"
#include "rs_text_constants.h"
#include "runtime/gbk.h"
#include "runtime/message_box.h"

namespace tavrin::rs {

namespace {

std::string StoredDigest(const uint8_t* header) {
    const char* p = reinterpret_cast<const char*>(header + kHeaderPassword);
    size_t n = 0;
    while (n < size_t(kPasswordSpace) && p[n] != 0) ++n;
    return std::string(p, n);
}

bool Matches(const std::string& stored, std::string_view password) {
    std::string digest = PasswordDigest(password);
    if (digest.size() != stored.size()) return false;
    for (size_t i = 0; i < digest.size(); ++i) {
        if (std::tolower(uint8_t(digest[i])) != std::tolower(uint8_t(stored[i]))) return false;
    }
    return true;
}

// One question to the user; nullopt when the user gives up.
std::optional<std::string> AskPassword(int attemptsLeft, bool afterWrongEntry) {
    DialogRequest request;
    request.kind = "password";
    request.fields["caption"] = GbkToUtf8(rs_text::PasswordCaption);
    request.fields["prompt"] = GbkToUtf8(rs_text::PasswordPrompt);
    if (afterWrongEntry) {
        char text[128];
        std::snprintf(text, sizeof text, rs_text::WrongPasswordRetry, attemptsLeft);
        request.fields["message"] = GbkToUtf8(text);
    }
    std::optional<DialogReply> reply = AnswerDialogAutomatically(request);
    if (reply) {
        if (!reply->accepted) return std::nullopt;
        return Utf8ToGbk(reply->fields["password"]);
    }
    if (QApplication::instance() == nullptr) return std::nullopt;  // no window system
    QString label = QString::fromStdString(request.fields["prompt"]);
    if (afterWrongEntry) label = QString::fromStdString(request.fields["message"]) + "\n" + label;
    bool ok = false;
    QString text = QInputDialog::getText(nullptr, QString::fromStdString(request.fields["caption"]),
                                         label, QLineEdit::Password, QString(), &ok);
    if (!ok) return std::nullopt;
    return QStringToGbk(text);
}

}  // namespace

std::string PasswordDigest(std::string_view gbkPassword) {
    QByteArray hash = QCryptographicHash::hash(
        QByteArray(gbkPassword.data(), qsizetype(gbkPassword.size())), QCryptographicHash::Sha256);
    return hash.toHex().toStdString();
}

Code CheckPassword(const uint8_t* header, std::string_view gbkPassword) {
    const bool protectedFile = GetI32(header) == int32_t(kPasswordMagic);
    if (!protectedFile) return gbkPassword.empty() ? Code::kOk : Code::kWrongPassword;
    if (gbkPassword.empty()) return Code::kWrongPassword;
    const std::string stored = StoredDigest(header);
    if (gbkPassword != "?") return Matches(stored, gbkPassword) ? Code::kOk : Code::kWrongPassword;
    constexpr int kAttempts = 3;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::optional<std::string> entered = AskPassword(kAttempts - attempt, attempt > 0);
        if (!entered) return Code::kWrongPassword;
        if (Matches(stored, *entered)) return Code::kOk;
    }
    return Code::kWrongPassword;
}

}  // namespace tavrin::rs
