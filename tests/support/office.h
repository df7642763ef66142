#pragma once

#include "testkit.h"
#include "ui/windows.h"

#include <QApplication>
#include <QTest>
#include <memory>

// A test folder with a registry of windows, as the program has them.
class TestOffice : public TestFolder {
public:
    TestOffice() : windows(std::make_unique<Windows>(ctx)) {}
    ~TestOffice() { windows.reset(); }

    // Makes `w` the active window as the user would by coming to it from
    // another window of the program (runs its activation work).
    void activate(QWidget *w)
    {
        ctx.lastActive = nullptr;
        QEvent activation(QEvent::WindowActivate);
        if (QApplication::activeWindow() == w) {
            QApplication::sendEvent(w, &activation);
            return;
        }
        present(w);
        // Some window of the program takes the activation (the window itself,
        // or one it opened at once from its activation work); some platforms
        // do not activate hidden test windows: then it comes as the window
        // system would deliver it.
        if (!QTest::qWaitFor([&] { return ctx.lastActive != nullptr; }, 300)) QApplication::sendEvent(w, &activation);
    }

    std::unique_ptr<Windows> windows;
};
