// The text limit of an edit box, counted in GBK bytes as the program stores
// texts: what a person types or pastes loses the characters GBK cannot hold
// (with one message per edit) and is cut at the last whole character that
// fits; text the program writes into the box is left as it is.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

class QLineEdit;
class QPlainTextEdit;

namespace tavrin::forms {

// GBK bytes of a text (a character outside GBK counts as the one '?' it becomes).
int32_t GbkByteCount(const QString& text);
// How many characters of `text`, from its start, fit into `bytes` GBK bytes
// without cutting a character (a surrogate pair is one character).
int32_t CharactersFitting(const QString& text, int32_t bytes);

class EditByteLimit : public QObject {
    Q_OBJECT
  public:
    explicit EditByteLimit(QLineEdit* edit);
    explicit EditByteLimit(QPlainTextEdit* edit);
    int32_t maxBytes() const { return maxBytes_; }
    // 0 or less: no limit.
    void setMaxBytes(int32_t bytes) { maxBytes_ = bytes > 0 ? bytes : 0; }
    // The person's last edit of a line consisted only of refused characters:
    // the text is as it was, so nothing was typed.
    bool lastEditRefusedAll() const { return refusedAll_; }
    // Text set by the program while this runs is not cut.
    template <typename Set>
    void setByProgram(Set&& set) {
        const bool was = programmatic_;
        programmatic_ = true;
        set();
        programmatic_ = was;
    }

  private:
    void lineEdited(const QString& text);
    void plainChanged();

    QLineEdit* line_ = nullptr;
    QPlainTextEdit* plain_ = nullptr;
    int32_t maxBytes_ = 0;
    bool programmatic_ = false;
    bool refusedAll_ = false;
    QString previous_;                        // the line's text before the person's edit
    int32_t insertedAt_ = -1, inserted_ = 0;  // the plain text's last insertion
};

}  // namespace tavrin::forms
