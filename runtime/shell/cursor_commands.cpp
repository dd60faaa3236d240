// The busy cursor, as an override cursor of the application's windows.
#include "runtime/shell/cursor_commands.h"

#include <QCursor>
#include <QGuiApplication>

namespace tavrin {
namespace {

bool busyCursorShown = false;

}  // namespace

void ShowBusyCursor(Value* result, int32_t, const Value*) {
    *result = Value{};
    if (busyCursorShown || qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    busyCursorShown = true;
}

void RestoreCursor(Value* result, int32_t, const Value*) {
    *result = Value{};
    if (!busyCursorShown) return;
    busyCursorShown = false;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return;
    // Qt reapplies the cursors of the windows when the override goes; moving the
    // pointer onto its own position also makes the platform reshape it at once.
    QGuiApplication::restoreOverrideCursor();
    QCursor::setPos(QCursor::pos());
}

bool IsBusyCursorShown() {
    return busyCursorShown;
}

}  // namespace tavrin
