// Lets the event loop dispatch what is waiting, widgets deleted later
// included, a few rounds over: an event's handler that posts another finds it
// handled too. For waiting on something that takes time, wait for it instead
// (QTest::qWaitFor with its condition).
#pragma once

#include <QCoreApplication>
#include <QEvent>

inline void SettleEvents(int rounds = 3) {
    for (int i = 0; i < rounds; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}
