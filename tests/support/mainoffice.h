#pragma once

#include "office.h"
#include "widgets.h"

#include "app/formvelmo.h"
#include "ui/linelist.h"

#include <QAction>
#include <QListWidget>

inline QStringList items(const QAbstractItemView *l) { return lineTexts(l); }

// The office with its main window shown, as after start.
struct MainOffice : TestOffice {
    MainOffice() : main(windows->get<Formvelmo>()) { activate(main); }

    template <class W>
    W *shown()
    {
        W *w = windows->get<W>();
        // A window still active for the window system after it was hidden
        // gets no new activation event from it.
        if (QApplication::activeWindow() == w && ctx.lastActive != w) activate(w);
        if (!QTest::qWaitFor([&] { return ctx.lastActive == w; }, 200)) activate(w);
        return w;
    }

    template <class W>
    W *fromMenu(const char *entry)
    {
        activate(main);
        main->action(entry)->trigger();
        return shown<W>();
    }

    Formvelmo *main;
};
