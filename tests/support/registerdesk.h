#pragma once

#include "desks.h"

#include <QList>
#include <QPair>

using Typed = QList<QPair<QString, QString>>;

inline void typeAll(QWidget *w, const Typed &typed)
{
    for (const auto &[field, text] : typed) typeInto(lineOf(w, qPrintable(field)), text);
}

inline Typed shownIn(QWidget *w, const Typed &expected)
{
    Typed out;
    for (const auto &[field, text] : expected) out.append({field, lineOf(w, qPrintable(field))->text()});
    return out;
}

// No message box came while the busy cursor was up, and none is left up.
inline bool neverBusyAtPrompt(const TestFolder &o)
{
    return !o.fake.prompts.busyAtPrompt.contains(true) && o.fake.busy.depth == 0;
}
