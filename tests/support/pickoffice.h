#pragma once

#include "mainoffice.h"
#include "widgets.h"

#include "activities/formattivita.h"
#include "activities/formattlist.h"
#include "ui/linelist.h"
#include "registers/picking.h"
#include "activities/formris.h"
#include "activities/formsto.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

// The lines the register lists show for a record, as they hand them over
// when the user picks a resource.
inline QString equipmentListLine(const QString &assoc, const QString &descr, const QString &state, int qty)
{
    return assoc.leftJustified(50, ' ', true) + descr.leftJustified(50, ' ', true) + state + "  "
           + QString::number(qty);
}
inline QString vehicleListLine(const QString &assoc, const QString &descr, const QString &state)
{
    return assoc.leftJustified(50, ' ', true) + descr.leftJustified(50, ' ', true) + state;
}
inline QString associationListLine(const QString &name, int volunteers)
{
    return name.leftJustified(50, ' ', true) + " " + QString::number(volunteers);
}

template <class T = QWidget> T *child(QWidget *w, const char *name)
{
    T *c = w->findChild<T *>(QString::fromLatin1(name));
    if (!c) qFatal("no control %s", name);
    return c;
}

inline void press(QWidget *w, const char *name)
{
    QTest::mouseClick(child<QPushButton>(w, name), Qt::LeftButton);
}

inline void typeText(QWidget *w, const char *name, const QString &text)
{
    typeInto(child<QLineEdit>(w, name), text);
}

// Clicks the line of `l` whose text starts with `start`; false when none does.
inline bool clickLineStarting(LineList *l, const QString &start)
{
    for (int i = 0; i < l->count(); ++i)
        if (l->text(i).startsWith(start)) return clickLine(l, i), true;
    return false;
}

// The registers of the office: two associations, one vehicle each, three
// pieces of equipment, and the volunteers of ALFA and BETA.
const QByteArray kJeep = "ALFA,JEEP,CAMPO1,01/03/2025,08.00,,,SOCCORSO,L";
const QByteArray kAmbulanza = "BETA,AMBULANZA,CAMPO2,01/03/2025,08.00,,,SANITARIO,L";

struct PickOffice : MainOffice {
    PickOffice()
    {
        write(archive::File::Associazioni, crlf({"ALFA,VIA ROMA 1,ROMA,RM,061234,,,CAMPO1,10,12",
                                                 "BETA,VIA PO 2,PISA,PI,050123,,,CAMPO2,5,5"}));
        write(archive::File::Automezzi, crlf({kJeep, kAmbulanza}));
        write(archive::File::Attrezzature, crlf({"ALFA,POMPA,L,5", "ALFA,TENDA,L,3", "BETA,GENERATORE,L,2"}));
        write(archive::File::Volontari,
              crlf({"ALFA,MARIO,ROSSI,,,,,,,", "BETA,ANNA,VERDI,,,,,,,", "ALFA,LUCA,BIANCHI,,,,,,,"}));
        write(archive::File::NumeroProt, "6\r\n");
    }

    Formattivita *activity() { return windows->get<Formattivita>(); }
    Formris *ris() { return windows->get<Formris>(); }
    Formsto *sto() { return windows->get<Formsto>(); }
    QListWidget *resourceList() { return activity()->resourceList(); }

    Formattivita *openInsert() { return fromMenu<Formattivita>("mnattains"); }

    void fillRequest()
    {
        Formattivita *w = activity();
        typeText(w, "datari", "05/03/2025");
        typeText(w, "orari", "14.30");
        typeText(w, "tipoatt", "incendio");
        typeText(w, "loc", "roma");
        typeText(w, "ric", "rossi");
    }

    // The activity window's resource button, then a click on `line` in the
    // list it opened, as the list hands it over.
    void pick(const char *button, ResourceKind kind, const QString &line)
    {
        // The user is in the activity window, or comes back to it.
        if (ctx.lastActive != activity()) activate(activity());
        press(activity(), button);
        picking::offerResource(ctx, kind, line);
    }

    // The same through the real list window L: a click on its line `line`.
    template <class L> L *pickInList(const char *button, const QString &line)
    {
        if (ctx.lastActive != activity()) activate(activity());
        press(activity(), button);
        L *l = shown<L>();
        if (!clickLineStarting(child<LineList>(l, "List1"), line)) qFatal("line not in the list");
        return l;
    }

    // Picks and adds with the quantity typed (the proposed one when empty).
    void add(const char *button, ResourceKind kind, const QString &line, const QString &qty = {})
    {
        pick(button, kind, line);
        if (!qty.isEmpty()) typeText(ris(), "qta", qty);
        press(ris(), "cmdaggiungi");
    }

    // Selects line `row` of the resource list with the left button, then
    // presses the right one on it.
    void deleteRow(int row, bool yes = true)
    {
        QListWidget *l = resourceList();
        const QPoint at = l->visualItemRect(l->item(row)).center();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
        fake.prompts.answers.enqueue(yes);
        QTest::mousePress(l->viewport(), Qt::RightButton, {}, at);
        QTest::mouseRelease(l->viewport(), Qt::RightButton, {}, at);
    }

    // A click on activity `prot` in one of the main window's lists.
    Formattivita *openFromMain(const QString &prot)
    {
        activate(main);
        for (const char *name : {"List1", "List2"})
            if (clickLineStarting(child<LineList>(main, name), prot.rightJustified(6) + " ")) return shown<Formattivita>();
        qFatal("activity not in the main lists");
    }

    // A click on activity `prot` in the list of "Annullamento Attività".
    Formattivita *openCancel(const QString &prot)
    {
        if (!clickLineStarting(child<LineList>(fromMenu<Formattlist>("mnattaann"), "List1"), prot.rightJustified(6) + " "))
            qFatal("activity not in the list");
        return shown<Formattivita>();
    }

    // Presses the activity window's registration button; what the user was told.
    QStringList registerNow()
    {
        fake.prompts.clear();
        press(activity(), "cmdregistra");
        return fake.prompts.messages();
    }
};
