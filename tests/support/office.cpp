#include "office.h"

#include <QApplication>
#include <QTest>

void TestOffice::activate(QWidget *w)
{
    // Coming from another window: the last active one is someone else.
    ctx.lastActive = nullptr;
    if (QApplication::activeWindow() == w) {
        QEvent e(QEvent::WindowActivate);
        QApplication::sendEvent(w, &e);
        return;
    }
    present(w);
    // Wait until some window of the program took the activation (the window
    // itself, or one it opened at once from its activation work).
    if (!QTest::qWaitFor([&] { return ctx.lastActive != nullptr; }, 300)) {
        // Some platforms do not activate hidden test windows; deliver the
        // activation the way the window system would.
        QEvent e(QEvent::WindowActivate);
        QApplication::sendEvent(w, &e);
    }
}
