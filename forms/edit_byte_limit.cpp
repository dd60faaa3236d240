// Edit boxes limited in GBK bytes.
#include "forms/internal/edit_byte_limit.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "runtime/gbk.h"

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

}  // namespace

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
void EditByteLimit::lineEdited(const QString& text) {
    if (maxBytes_ == 0 || programmatic_) return;
    const int32_t excess = GbkByteCount(text) - maxBytes_;
    if (excess <= 0) return;
    const int32_t shorter = int32_t(std::min(text.size(), previous_.size()));
    int32_t head = 0;
    while (head < shorter && text[head] == previous_[head]) ++head;
    int32_t tail = 0;
    while (tail < shorter - head &&
           text[text.size() - 1 - tail] == previous_[previous_.size() - 1 - tail])
        ++tail;
    const QString inserted = text.mid(head, text.size() - head - tail);
    const int32_t keep = CharactersFitting(inserted, GbkByteCount(inserted) - excess);
    const QString fitted = text.left(head + keep) + text.right(tail);
    line_->setText(fitted);
    line_->setCursorPosition(head + keep);
}

void EditByteLimit::plainChanged() {
    const int32_t at = insertedAt_;
    insertedAt_ = -1;
    // The first edit of an empty document counts its closing paragraph
    // separator among the added characters; the text ends before it.
    const int32_t added = std::min(inserted_, plain_->document()->characterCount() - 1 - at);
    if (maxBytes_ == 0 || programmatic_ || at < 0 || added <= 0) return;
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
