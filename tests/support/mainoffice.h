#pragma once

#include "office.h"
#include "widgets.h"

#include "app/formvelmo.h"
#include "ui/linelist.h"

#include <QAction>
#include <QListWidget>

inline QStringList items(const QAbstractItemView *l) { return lineTexts(l); }

// The office with its main window shown, as after start, for tests that go
// through the main window's menu.
struct MainOffice : TestOffice {
    MainOffice() : main(windows->get<Formvelmo>()) { activate(main); }

    // Waits for the window the program just showed to be activated.
    template <class W> W *shown()
    {
        W *w = windows->get<W>();
        // A window still active for the window system after it was hidden
        // gets no new activation event from it.
        if (QApplication::activeWindow() == w && ctx.lastActive != w) activate(w);
        if (!QTest::qWaitFor([&] { return ctx.lastActive == w; }, 200)) activate(w);
        return w;
    }

    // Chooses a menu entry of the main window (activated first: the menu is
    // its) and waits for window W.
    template <class W> W *fromMenu(const char *entry)
    {
        activate(main);
        main->action(entry)->trigger();
        return shown<W>();
    }

    Formvelmo *main;
};
