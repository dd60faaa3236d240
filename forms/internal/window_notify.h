// A window's notifications from outside its own platform events: event 7 (a
// posted notification with one int) and event 9 (its notification-area icon
// was clicked, from a QSystemTrayIcon the window owns).
#pragma once

#include <QIcon>
#include <QString>
#include <cstdint>

#include "runtime/commands.h"

class QSystemTrayIcon;

namespace tavrin::forms {

// Posts a notification to a created window; its event 7 is raised with `value`
// when the message loop reaches it. False when the window is not created.
bool PostWindowNotification(uint32_t windowId, int32_t value);

// Gives a created window its notification-area icon (replacing an earlier one)
// and shows it where the platform has a notification area. A null `icon` uses
// the window's own icon. The icon lives as long as the window; its clicks raise
// event 9: 1 left click, 2 left double click, 3 right click or context key.
// Null when the window is not created.
QSystemTrayIcon* GiveNotificationIcon(uint32_t windowId, const QIcon& icon = {},
                                      const QString& toolTip = {});
// The window's notification-area icon, or null.
QSystemTrayIcon* NotificationIcon(uint32_t windowId);
// Takes the window's notification-area icon away.
void RemoveNotificationIcon(uint32_t windowId);

// Commands. window (lo = window id), int value → bool: the notification was posted.
void NotifyWindowCommand(Value* result, int32_t argc, const Value* argv);
// window, [optional] byte-set picture (an image file's bytes; absent: the
// window's icon), [optional] text tip → bool: the window now has its icon.
void NotificationIconCommand(Value* result, int32_t argc, const Value* argv);

}  // namespace tavrin::forms
