// The message box as a real modal Qt dialog: the styles' buttons, icon,
// default button and owner window.
#include "message_box_dialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSpacerItem>
#include <vector>

#include "runtime/gbk.h"
#include "runtime/message_box.h"

namespace tavrin {
namespace {

// Qt's button for a button code of the style's buttons.
QMessageBox::StandardButton StandardButtonFor(int32_t code) {
    switch (code) {
        case kButtonCancel:
            return QMessageBox::Cancel;
        case kButtonAbort:
            return QMessageBox::Abort;
        case kButtonRetry:
            return QMessageBox::Retry;
        case kButtonIgnore:
            return QMessageBox::Ignore;
        case kButtonYes:
            return QMessageBox::Yes;
        case kButtonNo:
            return QMessageBox::No;
        default:
            return QMessageBox::Ok;
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

int32_t PresentMessageBox(const MessageBoxRequest& request) {
    const uint32_t style = request.style;
    if (QApplication::instance() == nullptr) return MessageBoxEscapeAnswer(style);
    const std::vector<int32_t> buttons = MessageBoxButtons(style);
    QMessageBox::StandardButtons set;
    for (int32_t code : buttons) set |= StandardButtonFor(code);
    // On the heap: the owner may be destroyed while the box is open, and takes the box along.
    QPointer<QMessageBox> box = new QMessageBox(IconFor(style), GbkToQString(request.caption),
                                                GbkToQString(request.text), set, OwnerWindow());
    size_t defaultIndex = (style & 512) ? 2 : (style & 256) ? 1 : 0;
    if (defaultIndex < buttons.size())
        box->setDefaultButton(StandardButtonFor(buttons[defaultIndex]));
    if (style & 4096) box->setWindowModality(Qt::ApplicationModal);
    WidenForCaption(*box);
    const int pressed = box->exec();
    delete box.data();
    for (int32_t code : buttons)
        if (pressed == StandardButtonFor(code)) return code;
    return MessageBoxEscapeAnswer(style);
}

}  // namespace tavrin
