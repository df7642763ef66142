#pragma once

// The register windows as the fault tests drive them.

#include "mainoffice.h"
#include "widgets.h"

#include "activities/formattivita.h"
#include "activities/formattlist.h"
#include "app/emergenzaform.h"
#include "app/formprot.h"
#include "app/menutable.h"
#include "archive/paths.h"
#include "associations/formass.h"
#include "associations/formlist.h"
#include "equipment/formattr.h"
#include "reports/formdiario.h"
#include "reports/formnota.h"
#include "reports/formrapimpiego.h"
#include "reports/formrappresenze.h"
#include "reports/formrapquadro.h"
#include "equipment/formattrlist.h"
#include "vehicles/formauto.h"
#include "vehicles/formautolist.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <vector>

struct FieldRow {
    const char *name;
    bool number;
    int recordIndex;
    // The window's own refusal of any bad text here, before the encoding's.
    QString ownCheck = {};
    // Where it differs from the window's (an end time closes the activity at once).
    QString doneInstead = {};
};

struct WindowRow {
    const char *entry; // opens it in insert mode
    archive::File archive;
    const char *button;
    QString done; // the message of a registration that went well
    std::vector<FieldRow> fields;
    QMap<QString, QString> good; // values that register well
    const char *window() const { return menuEntry(entry)->window; }
    QWidget *open(MainOffice &o) const;
};

template <class... W>
QWidget *openAs(MainOffice &o, const MenuEntry &e)
{
    QWidget *w = nullptr;
    ((w = w ? w : QLatin1String(e.window) == W::staticMetaObject.className() ? o.fromMenu<W>(e.name)
                                                                             : nullptr),
     ...);
    return w;
}
inline QWidget *openEntry(MainOffice &o, const char *entry)
{
    return openAs<Formass, Formauto, Formattr, Formattivita, Formlist, Formautolist, Formattrlist, Formattlist,
                  Formprot, emergenzaform, Formrapquadro, Formrapimpiego, Formrappresenze, Formdiario, Formnota>(
        o, *menuEntry(entry));
}
inline QWidget *WindowRow::open(MainOffice &o) const { return openEntry(o, entry); }

// A date or a time that cannot be read, the fake clock's day and time as the example.
inline QString dateRefusal(const char *label) { return QString(label) + " errata: scrivere GG/MM/AAAA, per esempio 03/03/2025."; }
inline QString timeRefusal(const char *label) { return QString(label) + " errata: scrivere hh.mm, da 00.00 a 23.59, per esempio 09.05."; }

inline const std::vector<WindowRow> &registerWindows()
{
    using F = archive::File;
    static const std::vector<WindowRow> rows = {
        {"mnassains", F::Associazioni, "cmdassregistra", QString(), {{"cmbassdenom", false, 0}, {"assindir", false, 1}, {"asscomune", false, 2}, {"assprov", false, 3}, {"asstel", false, 4}, {"assfax", false, 5}, {"assemail", false, 6}, {"asscampo", false, 7}, {"assnumvol", true, 8, QStringLiteral("Numero volontari dell'associazione errato.")}}, {{"cmbassdenom", "NUOVA"}, {"assnumvol", "5"}}},
        {"mnautains", F::Automezzi, "cmdregistra", QStringLiteral("Automezzo registrato correttamente."), {{"cmbass", false, 0}, {"cmbdes", false, 1}, {"campo", false, 2}, {"dataar", false, 3, dateRefusal("Data arrivo")}, {"oraar", false, 4, timeRefusal("Ora arrivo")}, {"datapa", false, 5, dateRefusal("Data partenza")}, {"orapa", false, 6, timeRefusal("Ora partenza")}, {"note", false, 7}, {"cmbstato", false, 8, QStringLiteral("Stato non previsto.")}}, {{"cmbass", "ALFA"}, {"cmbdes", "NUOVO MEZZO"}, {"dataar", "01/03/2025"}, {"oraar", "08.00"}, {"cmbstato", "L"}}},
        {"mnatrains", F::Attrezzature, "cmdregistra", QStringLiteral("Attrezzatura registrata correttamente."), {{"cmbass", false, 0}, {"cmbdes", false, 1}, {"cmbstato", false, 2, QStringLiteral("Stato non previsto.")}, {"qta", true, 3, QString::fromUtf8("Quantità dell'attrezzatura errata.")}}, {{"cmbass", "ALFA"}, {"cmbdes", "NUOVO ATTREZZO"}, {"cmbstato", "L"}, {"qta", "3"}}},
        {"mnattains", F::Attivita, "cmdregistra", QString::fromUtf8("Attività inserita correttamente."), {{"numprot", true, 0, QStringLiteral("Numero protocollo errato: inserire un numero intero da -32768 a 32767.")}, {"datari", false, 1, dateRefusal("Data richiesta")}, {"orari", false, 2, timeRefusal("Ora richiesta")}, {"datain", false, 3, dateRefusal("Data inizio")}, {"orain", false, 4, timeRefusal("Ora inizio")}, {"datafi", false, 5, dateRefusal("Data fine")}, {"orafi", false, 6, timeRefusal("Ora fine")}, {"tipoatt", false, 7}, {"loc", false, 8}, {"ric", false, 9}, {"note", false, 10}}, {{"numprot", "8"}, {"datari", "03/03/2025"}, {"orari", "09.05"}, {"tipoatt", "RICERCA"}, {"loc", "BOSCO"}, {"ric", "SINDACO"}}},
    };
    return rows;
}

inline QLineEdit *lineOf(QWidget *w, const char *name)
{
    if (auto *c = w->findChild<QComboBox *>(QString::fromLatin1(name))) return c->lineEdit();
    return w->findChild<QLineEdit *>(QString::fromLatin1(name));
}

inline void fillGood(QWidget *w, const WindowRow &row)
{
    for (auto it = row.good.begin(); it != row.good.end(); ++it) typeInto(lineOf(w, qPrintable(it.key())), it.value());
}

inline void clickButton(QWidget *w, const char *name)
{
    QTest::mouseClick(w->findChild<QPushButton *>(QString::fromLatin1(name)), Qt::LeftButton);
}

inline void seedOffice(TestOffice &o)
{
    using F = archive::File;
    o.write(F::Associazioni, crlf({"ALFA,VIA UNO,COMUNE,PR,011,,,CAMPO, 10 , 10 ", "BETA,VIA DUE,COMUNE,PR,022,,,CAMPO, 4 , 4 "}));
    o.write(F::Automezzi, crlf({"ALFA,JEEP,CAMPO,01/03/2025,08.00,,,FUORISTRADA,L"}));
    o.write(F::Attrezzature, crlf({"ALFA,TENDA,L, 20 "}));
    o.write(F::Attivita, crlf({" 7 ,01/03/2025,09.00,,,,,SOCCORSO,PIAZZA,SINDACO,,A"}));
    o.write(F::Risorse, crlf({" 7 ,ATTR,     2,ALFA,TENDA,O"}));
    o.write(F::NumeroProt, crlf({"7"}));
    o.write(F::Emergenza, crlf({"PROVA"}));
}
