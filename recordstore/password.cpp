// Password check on open. The person is asked the way the program installed
// (password_asker.h), so a test or a tool answers without a real dialog.
#include "internal/password.h"

#include <QCryptographicHash>
#include <cstdio>
#include <optional>

#include "internal/record_format.h"
#include "recordstore/password_asker.h"
#include "rs_text_constants.h"

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

PasswordAsker& InstalledAsker() {
    static PasswordAsker asker;
    return asker;
}

// One question to the user; nullopt when the user gives up.
std::optional<std::string> AskPassword(int attemptsLeft, bool afterWrongEntry) {
    const PasswordAsker& ask = InstalledAsker();
    if (!ask) return std::nullopt;
    PasswordQuestion question{rs_text::PasswordCaption, rs_text::PasswordPrompt, {}};
    if (afterWrongEntry) {
        char text[128];
        std::snprintf(text, sizeof text, rs_text::WrongPasswordRetry, attemptsLeft);
        question.warning = text;
    }
    return ask(question);
}

}  // namespace

void SetPasswordAsker(PasswordAsker asker) {
    InstalledAsker() = std::move(asker);
}

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
