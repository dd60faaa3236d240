// Edit boxes limited in GBK bytes, refusing characters GBK cannot hold.
#include "internal/edit_byte_limit.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>

#include "fm_text_constants.h"
#include "forms/gbk_input.h"
#include "runtime/gbk.h"
#include "runtime/message_box.h"

namespace tavrin::forms {

namespace {

// GBK bytes of the character that starts at text[i], and its length in QChars.
int32_t CharacterBytes(const QString& text, int32_t i, int32_t* length) {
    const QChar c = text[i];
    *length = 1;
    if (c.unicode() < 0x80) return 1;
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        *length = 2;
        return 1;  // outside GBK: one '?'
    }
    return int32_t(QStringToGbk(QString(c)).size());
}

// The code point of the character that starts at text[i], and its length in QChars.
char32_t CodePointAt(const QString& text, int32_t i, int32_t* length) {
    *length = 1;
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        *length = 2;
        return QChar::surrogateToUcs4(text[i], text[i + 1]);
    }
    return text[i].unicode();
}

bool HeldByGbk(const QString& character) {
    if (character == QLatin1String("?")) return true;
    const std::string gbk = QStringToGbk(character);
    return gbk != "?" && GbkToQString(gbk) == character;
}

// Says once which character was refused (the first of an edit), by its code
// point: the message itself is GBK and could not show it. The message waits
// until the edit's handling has ended: while it is open the edit may go (a
// grid's cell editor closes when the focus leaves it).
void ReportRefused(char32_t codePoint) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", unsigned(codePoint));
    const std::string text =
        std::string(fm_text::CharacterOutsideGbkBefore) + name + fm_text::CharacterOutsideGbkAfter;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [text] { ShowMessageBox(text, fm_text::CharacterOutsideGbkCaption, kIconExclamation); },
        Qt::QueuedConnection);
}

}  // namespace

QString WithoutCharactersOutsideGbk(const QString& text, char32_t* firstRefused) {
    QString kept;
    kept.reserve(text.size());
    *firstRefused = 0;
    for (int32_t i = 0; i < text.size();) {
        int32_t length = 1;
        const char32_t c = CodePointAt(text, i, &length);
        const QString character = text.mid(i, length);
        // A paragraph separator is the plain edit's line end, one byte in the text.
        if (c < 0x80 || c == 0x2029 || HeldByGbk(character))
            kept += character;
        else if (*firstRefused == 0)
            *firstRefused = c;
        i += length;
    }
    return kept;
}

void GuardLineInput(QLineEdit* edit, int32_t maxBytes) {
    (new EditByteLimit(edit))->setMaxBytes(maxBytes);
}

int32_t GbkByteCount(const QString& text) {
    return int32_t(QStringToGbk(text).size());
}

int32_t CharactersFitting(const QString& text, int32_t bytes) {
    int32_t used = 0, i = 0;
    while (i < text.size()) {
        int32_t length = 1;
        const int32_t b = CharacterBytes(text, i, &length);
        if (used + b > bytes) break;
        used += b;
        i += length;
    }
    return i;
}

EditByteLimit::EditByteLimit(QLineEdit* edit) : QObject(edit), line_(edit) {
    previous_ = edit->text();
    connect(edit, &QLineEdit::textEdited, this, &EditByteLimit::lineEdited);
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& t) { previous_ = t; });
}

EditByteLimit::EditByteLimit(QPlainTextEdit* edit) : QObject(edit), plain_(edit) {
    connect(edit->document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) {
                insertedAt_ = programmatic_ ? -1 : position;
                inserted_ = added;
            });
    connect(edit, &QPlainTextEdit::textChanged, this, &EditByteLimit::plainChanged);
}

// The edit replaced the part between the common start and the common end of
// the old and the new text; only what it inserted is cut.
void EditByteLimit::lineEdited(const QString& typed) {
    refusedAll_ = false;
    if (programmatic_) return;
    const QString before = previous_;
    const int32_t shorter = int32_t(std::min(typed.size(), before.size()));
    int32_t head = 0;
    while (head < shorter && typed[head] == before[head]) ++head;
    int32_t tail = 0;
    while (tail < shorter - head &&
           typed[typed.size() - 1 - tail] == before[before.size() - 1 - tail])
        ++tail;
    char32_t refused = 0;
    QString inserted =
        WithoutCharactersOutsideGbk(typed.mid(head, typed.size() - head - tail), &refused);
    QString text = typed.left(head) + inserted + typed.right(tail);
    int32_t keep = int32_t(inserted.size());
    const int32_t excess = maxBytes_ > 0 ? GbkByteCount(text) - maxBytes_ : 0;
    if (excess > 0) {
        keep = CharactersFitting(inserted, GbkByteCount(inserted) - excess);
        text = typed.left(head) + inserted.left(keep) + typed.right(tail);
    }
    if (text == typed) return;
    refusedAll_ = refused != 0 && text == before;
    line_->setText(text);
    line_->setCursorPosition(head + keep);
    if (refused) ReportRefused(refused);
}

void EditByteLimit::plainChanged() {
    const int32_t at = insertedAt_;
    insertedAt_ = -1;
    // The first edit of an empty document counts its closing paragraph
    // separator among the added characters; the text ends before it.
    int32_t added = std::min(inserted_, plain_->document()->characterCount() - 1 - at);
    if (programmatic_ || at < 0 || added <= 0) return;
    {
        QTextCursor cursor(plain_->document());
        cursor.setPosition(at);
        cursor.setPosition(at + added, QTextCursor::KeepAnchor);
        const QString inserted = cursor.selectedText();
        char32_t refused = 0;
        const QString kept = WithoutCharactersOutsideGbk(inserted, &refused);
        if (refused) {
            setByProgram([&] { cursor.insertText(kept); });
            plain_->setTextCursor(cursor);
            added = int32_t(kept.size());
            ReportRefused(refused);
        }
    }
    if (maxBytes_ == 0 || added <= 0) return;
    const int32_t excess = GbkByteCount(plain_->toPlainText()) - maxBytes_;
    if (excess <= 0) return;
    QTextCursor cursor(plain_->document());
    cursor.setPosition(at);
    cursor.setPosition(at + added, QTextCursor::KeepAnchor);
    // The document's paragraph separators are line ends of one byte in the text.
    const QString inserted = cursor.selectedText().replace(QChar::ParagraphSeparator, '\n');
    const int32_t keep = CharactersFitting(inserted, GbkByteCount(inserted) - excess);
    cursor.setPosition(at + keep);
    cursor.setPosition(at + added, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    plain_->setTextCursor(cursor);
}

}  // namespace tavrin::forms
