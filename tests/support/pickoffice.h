#pragma once

#include "mainoffice.h"

#include "activities/formattivita.h"
#include "activities/formattlist.h"
#include "activities/formris.h"
#include "activities/formsto.h"

#include <QPushButton>

// The lines the register lists hand over when the user picks a resource.
inline QString vehicleListLine(const QString &assoc, const QString &descr, const QString &state)
{
    return assoc.leftJustified(50, ' ', true) + descr.leftJustified(50, ' ', true) + state;
}
inline QString equipmentListLine(const QString &assoc, const QString &descr, const QString &state, int qty)
{
    return vehicleListLine(assoc, descr, state) + "  " + QString::number(qty);
}
inline QString associationListLine(const QString &name, int volunteers)
{
    return name.leftJustified(50, ' ', true) + " " + QString::number(volunteers);
}

template <class T = QWidget>
T *child(QWidget *w, const char *name)
{
    T *c = w->findChild<T *>(QString::fromLatin1(name));
    if (!c) qFatal("no control %s", name);
    return c;
}
inline void press(QWidget *w, const char *name) { QTest::mouseClick(child<QPushButton>(w, name), Qt::LeftButton); }
inline void typeText(QWidget *w, const char *name, const QString &text) { typeInto(child<QLineEdit>(w, name), text); }

// Clicks the line of `l` whose text starts with `start`; false when none does.
inline bool clickLineStarting(LineList *l, const QString &start)
{
    for (int i = 0; i < l->count(); ++i)
        if (l->text(i).startsWith(start)) return clickLine(l, i), true;
    return false;
}

const QString kInserted = QString::fromUtf8("Attività inserita correttamente.");
const QString kModified = QString::fromUtf8("Attività modificata correttamente.");

// The registers of the office: two associations, each with a vehicle.
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
        for (auto [field, text] : {std::pair{"datari", "05/03/2025"}, {"orari", "14.30"}, {"tipoatt", "incendio"}, {"loc", "roma"}, {"ric", "rossi"}})
            typeText(activity(), field, text);
    }

    // A resource button of the activity window, the user coming back to it.
    void pressForResource(const char *button)
    {
        if (ctx.lastActive != activity()) activate(activity());
        press(activity(), button);
    }

    // The button, then `line` handed over as the list it opened does.
    void pick(const char *button, ResourceKind kind, const QString &line)
    {
        pressForResource(button);
        main->offerPicked(kind, line);
    }

    // The same through the real list window L.
    template <class L>
    L *pickInList(const char *button, const QString &line)
    {
        pressForResource(button);
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

    // Selects line `row` of the resource list, then right-presses it.
    void deleteRow(int row, bool yes = true)
    {
        QListWidget *l = resourceList();
        const QPoint at = l->visualItemRect(l->item(row)).center();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
        fake.prompts.answers.enqueue(yes);
        QTest::mousePress(l->viewport(), Qt::RightButton, {}, at);
        QTest::mouseRelease(l->viewport(), Qt::RightButton, {}, at);
    }

    // A click on activity `prot` in list `name` of window `w`; false when it is not there.
    static bool chooseActivity(QWidget *w, const char *name, const QString &prot)
    {
        return clickLineStarting(child<LineList>(w, name), prot.rightJustified(6) + " ");
    }
    Formattivita *openFromMain(const QString &prot)
    {
        activate(main);
        if (!chooseActivity(main, "List1", prot) && !chooseActivity(main, "List2", prot)) qFatal("activity not listed");
        return shown<Formattivita>();
    }
    // From the activity list of menu entry `entry` ("mnattaann": to cancel it).
    Formattivita *openFromList(const char *entry, const QString &prot)
    {
        if (!chooseActivity(fromMenu<Formattlist>(entry), "List1", prot)) qFatal("activity not listed");
        return shown<Formattivita>();
    }

    // Presses the activity window's registration button, answering the
    // questions (a cancellation is confirmed first); what the user was told.
    QStringList registerNow(const QList<bool> &answers = {})
    {
        fake.prompts.clear();
        fake.prompts.answers << answers;
        press(activity(), "cmdregistra");
        return fake.prompts.messages();
    }
};
