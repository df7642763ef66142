#pragma once

// The register windows as the fault tests drive them: how each is opened
// from the main window's menu, the fields it has (texts and numbers), a set
// of values it registers well, and its register button. A window that comes
// later is one more row in registerWindows().

#include "mainoffice.h"
#include "widgets.h"

#include "activities/formattivita.h"
#include "archive/paths.h"
#include "associations/formass.h"
#include "equipment/formattr.h"
#include "vehicles/formauto.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <functional>
#include <vector>

struct FieldRow {
    const char *name;   // object name of the QLineEdit or editable QComboBox
    bool number;        // holds a whole number
    int recordIndex;    // which item of the record it becomes
    // What the window says for any bad text in this field, when its own
    // check refuses it before the encoding does (dates, times, states).
    QString ownCheck = {};
    // The message of a registration that went well with a value in this
    // field, where it differs from the window's (an end time closes the
    // activity at once).
    QString doneInstead = {};
};

struct WindowRow {
    const char *window;     // object name
    std::function<QWidget *(MainOffice &)> open; // in insert mode, from the menu
    archive::File archive;  // where the record goes
    const char *button;
    QString done;           // the message of a registration that went well ("" when none)
    std::vector<FieldRow> fields;
    QMap<QString, QString> good; // field -> a value that registers well
};

template <class W> std::function<QWidget *(MainOffice &)> fromMenu(const char *entry)
{
    return [entry](MainOffice &o) -> QWidget * { return o.fromMenu<W>(entry); };
}

inline const std::vector<WindowRow> &registerWindows()
{
    using F = archive::File;
    static const std::vector<WindowRow> rows = {
        {"Formass", fromMenu<Formass>("mnassains"), F::Associazioni, "cmdassregistra", QString(),
         {{"cmbassdenom", false, 0}, {"assindir", false, 1}, {"asscomune", false, 2}, {"assprov", false, 3},
          {"asstel", false, 4}, {"assfax", false, 5}, {"assemail", false, 6}, {"asscampo", false, 7},
          {"assnumvol", true, 8, QStringLiteral("Numero volontari dell'associazione errato.")}},
         {{"cmbassdenom", "NUOVA"}, {"assnumvol", "5"}}},
        {"Formauto", fromMenu<Formauto>("mnautains"), F::Automezzi, "cmdregistra",
         QStringLiteral("Automezzo registrato correttamente."),
         {{"cmbass", false, 0}, {"cmbdes", false, 1}, {"campo", false, 2},
          {"dataar", false, 3, QStringLiteral("Data arrivo errata.")},
          {"oraar", false, 4, QStringLiteral("Ora arrivo errata.")},
          {"datapa", false, 5, QStringLiteral("Data partenza errata.")},
          {"orapa", false, 6, QStringLiteral("Ora partenza errata.")}, {"note", false, 7},
          {"cmbstato", false, 8, QStringLiteral("Stato non previsto.")}},
         {{"cmbass", "ALFA"}, {"cmbdes", "NUOVO MEZZO"}, {"dataar", "01/03/2025"}, {"oraar", "08.00"},
          {"cmbstato", "L"}}},
        {"Formattr", fromMenu<Formattr>("mnatrains"), F::Attrezzature, "cmdregistra",
         QStringLiteral("Attrezzatura registrata correttamente."),
         {{"cmbass", false, 0}, {"cmbdes", false, 1}, {"cmbstato", false, 2, QStringLiteral("Stato non previsto.")},
          {"qta", true, 3, QString::fromUtf8("Quantità dell'attrezzatura errata.")}},
         {{"cmbass", "ALFA"}, {"cmbdes", "NUOVO ATTREZZO"}, {"cmbstato", "L"}, {"qta", "3"}}},
        {"Formattivita", fromMenu<Formattivita>("mnattains"), F::Attivita, "cmdregistra",
         QString::fromUtf8("Attività inserita correttamente."),
         {{"numprot", true, 0, QStringLiteral("Numero protocollo errato: inserire un numero intero da -32768 a 32767.")},
          {"datari", false, 1}, {"orari", false, 2}, {"datain", false, 3}, {"orain", false, 4},
          {"datafi", false, 5}, {"orafi", false, 6, QString(), QString::fromUtf8("Attività modificata correttamente.")},
          {"tipoatt", false, 7}, {"loc", false, 8}, {"ric", false, 9}, {"note", false, 10}},
         {{"numprot", "8"}, {"datari", "03/03/2025"}, {"orari", "09.05"}, {"tipoatt", "RICERCA"},
          {"loc", "BOSCO"}, {"ric", "SINDACO"}}},
    };
    return rows;
}

// The line of a window field (a QLineEdit or the line of an editable drop-down list).
inline QLineEdit *lineOf(QWidget *w, const char *name)
{
    if (auto *c = w->findChild<QComboBox *>(QString::fromLatin1(name))) return c->lineEdit();
    return w->findChild<QLineEdit *>(QString::fromLatin1(name));
}

// Types the values that register well.
inline void fillGood(QWidget *w, const WindowRow &row)
{
    for (auto it = row.good.begin(); it != row.good.end(); ++it) typeInto(lineOf(w, qPrintable(it.key())), it.value());
}

inline void clickButton(QWidget *w, const char *name)
{
    QTest::mouseClick(w->findChild<QPushButton *>(QString::fromLatin1(name)), Qt::LeftButton);
}

// Every file of the working folder, by name, as it stands.
inline QMap<QString, QByteArray> folderState(const TestOffice &office)
{
    QMap<QString, QByteArray> out;
    for (const QString &name : QDir(office.dir()).entryList(QDir::Files)) out[name] = office.read(name);
    return out;
}

// Archives with a few records, the protocol counter at 7.
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
