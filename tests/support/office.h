#pragma once

#include "testkit.h"
#include "ui/windows.h"

#include <QApplication>
#include <QTest>
#include <memory>

class TestOffice : public TestFolder {
public:
    TestOffice() : windows(std::make_unique<Windows>(ctx)) {}
    ~TestOffice() { windows.reset(); }

    // As the user would by coming to `w` from another window of the program.
    void activate(QWidget *w)
    {
        ctx.lastActive = nullptr;
        QEvent activation(QEvent::WindowActivate);
        if (QApplication::activeWindow() == w) {
            QApplication::sendEvent(w, &activation);
            return;
        }
        present(w);
        // Some platforms do not activate hidden test windows: then it comes
        // as the window system would deliver it.
        if (!QTest::qWaitFor([&] { return ctx.lastActive != nullptr; }, 300)) QApplication::sendEvent(w, &activation);
    }

    std::unique_ptr<Windows> windows;
};
