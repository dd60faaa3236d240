// Window notifications (event 7) and the window's notification-area icon (event 9).
#include "internal/window_notify.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QWidget>

#include "forms/control.h"
#include "forms/events.h"
#include "forms/form_window.h"
#include "forms/window_system.h"
#include "internal/picture.h"
#include "runtime/gbk.h"

namespace tavrin::forms {

namespace {

const QString kIconName = QStringLiteral("notificationIcon");

// The click kinds event 9 hands to its handler; 0 for clicks it does not report.
int32_t ClickKindOf(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            return 1;
        case QSystemTrayIcon::DoubleClick:
            return 2;
        case QSystemTrayIcon::Context:
            return 3;
        default:
            return 0;
    }
}

}  // namespace

bool PostWindowNotification(uint32_t windowId, int32_t value) {
    QWidget* window = WindowWidget(windowId);
    if (!window) return false;
    QCoreApplication::postEvent(window, new WindowNotificationEvent(value));
    return true;
}

QSystemTrayIcon* NotificationIcon(uint32_t windowId) {
    QWidget* window = WindowWidget(windowId);
    return window ? window->findChild<QSystemTrayIcon*>(kIconName, Qt::FindDirectChildrenOnly)
                  : nullptr;
}

void RemoveNotificationIcon(uint32_t windowId) {
    if (QSystemTrayIcon* icon = NotificationIcon(windowId)) {
        icon->hide();
        delete icon;
    }
}

QSystemTrayIcon* GiveNotificationIcon(uint32_t windowId, const QIcon& icon,
                                      const QString& toolTip) {
    QWidget* window = WindowWidget(windowId);
    if (!window) return nullptr;
    RemoveNotificationIcon(windowId);
    // Parented to the window: the icon goes when the window is destroyed.
    auto* tray = new QSystemTrayIcon(window);
    tray->setObjectName(kIconName);
    QIcon shown = icon.isNull() ? window->windowIcon() : icon;
    if (shown.isNull()) shown = QIcon(QPixmap(16, 16));
    tray->setIcon(shown);
    tray->setToolTip(toolTip.isEmpty() ? window->windowTitle() : toolTip);
    QObject::connect(tray, &QSystemTrayIcon::activated, tray,
                     [windowId](QSystemTrayIcon::ActivationReason reason) {
                         const int32_t kind = ClickKindOf(reason);
                         if (kind == 0) return;
                         if (Control* self = FindWindowControl(windowId))
                             self->raise(WindowEvent::kTrayIconClicked, {kind});
                     });
    if (QSystemTrayIcon::isSystemTrayAvailable()) tray->show();
    return tray;
}

void NotifyWindowCommand(Value* result, int32_t argc, const Value* argv) {
    const bool posted = argc >= 2 && PostWindowNotification(argv[0].lo, int32_t(argv[1].lo));
    *result = MakeBool(posted);
}

void NotificationIconCommand(Value* result, int32_t argc, const Value* argv) {
    if (argc < 1) {
        *result = MakeBool(false);
        return;
    }
    QIcon icon;
    if (argc >= 2 && argv[1].type == TypeCode::kByteSet && argv[1].pointer() != nullptr) {
        const auto* block = static_cast<const ByteSetBlock*>(argv[1].pointer());
        const QImage image =
            DecodePicture(std::string(reinterpret_cast<const char*>(block->data()), block->length));
        if (!image.isNull()) icon = QIcon(QPixmap::fromImage(image));
    }
    QString tip;
    if (argc >= 3 && argv[2].type == TypeCode::kText && argv[2].asText() != nullptr)
        tip = GbkToQString(argv[2].asText());
    *result = MakeBool(GiveNotificationIcon(argv[0].lo, icon, tip) != nullptr);
}

}  // namespace tavrin::forms
