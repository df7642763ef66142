#include "mainoffice.h"
#include "resourcetext.h"

#include "activities/formattivita.h"
#include "activities/formattlist.h"
#include "app/formvelmo.h"
#include "archive/paths.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using archive::File;

namespace {

QLineEdit *edit(QWidget *w, const char *name)
{
    auto *e = w->findChild<QLineEdit *>(QString::fromLatin1(name));
    if (!e) qFatal("no field %s", name);
    return e;
}

QPushButton *button(QWidget *w, const char *name)
{
    auto *b = w->findChild<QPushButton *>(QString::fromLatin1(name));
    if (!b) qFatal("no button %s", name);
    return b;
}

// The resource list of the activity window, or a list of another window.
QListWidget *list(QWidget *w) { return w->findChild<QListWidget *>(QStringLiteral("List1")); }
LineList *list(QWidget *w, const char *name) { return w->findChild<LineList *>(QString::fromLatin1(name)); }

void type(QWidget *w, const char *name, const QString &text)
{
    QLineEdit *e = edit(w, name);
    e->clear();
    for (const QChar c : text) {
        if (c.unicode() < 0x80) QTest::keyClick(e, c.toLatin1());
        else QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void click(QWidget *w, const char *name) { QTest::mouseClick(button(w, name), Qt::LeftButton); }


struct Office : MainOffice {
    Office()
    {
        write(File::Associazioni, crlf({"ALFA,VIA A,,,,,,10"}));
        write(File::Automezzi, crlf({"ALFA,JEEP,L"}));
        write(File::Attrezzature, crlf({"ALFA,TENDA,3,L"}));
    }

    Formattivita *openInsert() { return fromMenu<Formattivita>("mnattains"); }

    // A click on the line of activity `prot` in one of the main window's lists.
    Formattivita *openFromMain(const QString &prot)
    {
        activate(main);
        for (const char *name : {"List1", "List2"}) {
            LineList *l = list(main, name);
            for (int i = 0; i < l->count(); ++i) {
                if (l->text(i).left(6).trimmed() != prot) continue;
                clickLine(l, i);
                return shown<Formattivita>();
            }
        }
        qFatal("activity not in the main lists");
    }

    // Opens activity `prot` for cancellation, as the activity list does.
    Formattivita *openCancel(const QString &prot)
    {
        auto *l = fromMenu<Formattlist>("mnattaann");
        LineList *lines = list(l, "List1");
        for (int i = 0; i < lines->count(); ++i) {
            if (lines->text(i).left(6).trimmed() != prot) continue;
            clickLine(lines, i);
            return shown<Formattivita>();
        }
        qFatal("activity not in the list");
    }

    void fillRequest(Formattivita *w)
    {
        type(w, "datari", "05/03/2025");
        type(w, "orari", "14.30");
        type(w, "tipoatt", "incendio");
        type(w, "loc", "roma");
        type(w, "ric", "rossi");
    }
};

const QByteArray kOpen5 = "5,01/03/2025,10.00,01/03/2025,11.00,,,FRANA,PISA,BIANCHI,NOTE,A";

} // namespace

class TestFormattivita : public QObject {
    Q_OBJECT
private slots:
    void controlsCaptionsAndTooltips();
    void insertProposesTheNextNumberAndRegisters();
    void requiredFieldsAndBadInputWriteNothing();
    void counterAtItsLimit();
    void duplicateNumberOnInsert();
    void insertAlreadyClosedRunsAsAModification();
    void modifyCloseReopenAndCancel();
    void cancelReleasesAnActivityLoadedOpen();
    void cancelOfAClosedActivityChangesOnlyItsState();
    void modifyChangingTheNumber();
    void chosenActivityNotFound();
    void leavingRollsBackOrKeeps();
    void passingModesKeepTheWindow();
};

void TestFormattivita::controlsCaptionsAndTooltips()
{
    Office o;
    auto *w = o.windows->get<Formattivita>();
    QCOMPARE(w->windowTitle(), QString::fromUtf8("Attività"));
    const QList<QPair<const char *, const char *>> tips{
        {"numprot", "Numero progressivo dell'attività."},
        {"datari", "Data di arrivo della richiesta di attività nel formato gg/mm/aaaa."},
        {"orari", "Ora di arrivo della richiesta di attività nel formato hh.mm."},
        {"datain", "Data di inizio dell' attività nel formato gg/mm/aaaa."},
        {"orain", "Ora di inizio dell' attività nel formato hh.mm."},
        {"datafi", "Data di fine dell' attività nel formato gg/mm/aaaa."},
        {"orafi", "Ora di fine dell' attività nel formato hh.mm."},
        {"tipoatt", "Descrizione dell'attività."},
        {"loc", "Località in cui si svolge l'attività."},
        {"ric", "Persona da cui è arrivata la richiesta dell'attività."},
        {"note", "Eventuali note relative all'attività"},
    };
    for (const auto &t : tips) QCOMPARE(edit(w, t.first)->toolTip(), QString::fromUtf8(t.second));
    QVERIFY(edit(w, "stato")->toolTip().isEmpty());
    for (const char *b : {"cmddatari", "cmddatain", "cmddatafi"})
        QCOMPARE(button(w, b)->toolTip(), QString("Data e ora automatica."));
    for (const char *b : {"cmdorari", "cmdorain", "cmdorafi"})
        QCOMPARE(button(w, b)->toolTip(), QString("Ora automatica."));
    const QList<QPair<const char *, const char *>> captions{
        {"cmdattr", "Attrezzature"}, {"cmdauto", "Automezzi"}, {"cmdvol", "Volontari"},
        {"cmdregistra", "Registra"}, {"cmdstacc", "Stampa foglio accompagnamento"},
        {"cmdstampa", "Stampa"}, {"cmdesci", "Esci"}};
    for (const auto &c : captions) QCOMPARE(button(w, c.first)->text(), QString::fromUtf8(c.second));
    QCOMPARE(button(w, "cmdattr")->toolTip(),
             QString::fromUtf8("Premere per inserire le attrezzature che verranno utilizzate "
                               "durante lo svolgimento dell'attività."));
    QCOMPARE(button(w, "cmdauto")->toolTip(),
             QString::fromUtf8("Premere per inserire gli automezzi che partecipano all'attività."));
    QCOMPARE(button(w, "cmdvol")->toolTip(),
             QString::fromUtf8("Premere per inserire i volontari che partecipano all'attività."));
    QStringList labels;
    for (QLabel *l : w->findChildren<QLabel *>()) labels << l->text();
    for (const char *l : {"N. Protocollo", "Data richiesta", "Ora richiesta", "Data inizio",
                          "Ora inizio", "Data fine", "Ora fine", "Tipo attività", "Località",
                          "Richiesta da", "Note", "Stato", "RISORSE", "|Tipo|", "Numero |"})
        QVERIFY2(labels.contains(QString::fromUtf8(l)), l);
    const QString assocHeader = "Associazione" + QString(35, ' ') + "|";
    const QString descrHeader = " Descrizione" + QString(27, ' ') + "|";
    QCOMPARE(assocHeader.size(), 48);
    QCOMPARE(descrHeader.size(), 40);
    QVERIFY(labels.contains(assocHeader));
    QVERIFY(labels.contains(descrHeader));
    QVERIFY(list(w)->font().family().contains("Courier"));
    QVERIFY(list(w)->font().fixedPitch());

    // The resource list grows with the window.
    w->show();
    const QSize before = list(w)->size();
    w->resize(w->width() + 100, w->height() + 60);
    QCOMPARE(list(w)->size(), before + QSize(100, 60));
    QCOMPARE(button(w, "cmdesci")->y(), 512 + 60);

    // The menu entry re-titles the same window every time.
    w->prepare("X", "Y", false);
    button(w, "cmdregistra")->setVisible(false);
    auto *again = o.openInsert();
    QCOMPARE(again, w);
    QCOMPARE(w->windowTitle(), QString::fromUtf8("Attività - Inserimento"));
    QCOMPARE(button(w, "cmdregistra")->text(), QString("Registra"));
    QVERIFY(button(w, "cmdregistra")->isVisible());
}

void TestFormattivita::insertProposesTheNextNumberAndRegisters()
{
    Office o;
    o.write(File::NumeroProt, " 41 \r\n");
    o.write(File::Attivita, crlf({"40,01/03/2025,08.00,,,,,A,B,C,,A", "43,01/03/2025,09.00,,,,,A,B,C,,A"}));
    o.write(File::Risorse, crlf({stored("40", "AUTO", 1, "ALFA", "JEEP", "O"),
                                 stored("43", "AUTO", 1, "ALFA", "JEEP", "O")}));
    auto *w = o.openInsert();
    QCOMPARE(o.ctx.g.modoatt, QString("I"));
    QCOMPARE(o.ctx.g.attchiusa, QString("0"));
    QCOMPARE(edit(w, "numprot")->text(), QString("42"));
    for (const char *f : {"stato", "datari", "orari", "tipoatt", "loc", "ric", "note"})
        QVERIFY(edit(w, f)->text().isEmpty());

    // The automatic buttons: date and time, or the time only.
    click(w, "cmddatari");
    QCOMPARE(edit(w, "datari")->text(), QString("03/03/2025"));
    QCOMPARE(edit(w, "orari")->text(), QString("09.05"));
    o.fake.clock.time = QDateTime(QDate(2025, 12, 31), QTime(23, 7));
    click(w, "cmdorain");
    QVERIFY(edit(w, "datain")->text().isEmpty());
    QCOMPARE(edit(w, "orain")->text(), QString("23.07"));
    click(w, "cmddatain");
    QCOMPARE(edit(w, "datain")->text(), QString("31/12/2025"));
    click(w, "cmddatafi");
    click(w, "cmdorafi");
    QCOMPARE(edit(w, "datafi")->text(), QString("31/12/2025"));
    edit(w, "datafi")->clear();
    edit(w, "orafi")->clear();

    // Texts go in capitals, with commas, quotes and line breaks as blanks.
    type(w, "tipoatt", QString::fromUtf8("incendio, bosco \"alto\""));
    type(w, "loc", QString::fromUtf8("città"));
    type(w, "ric", "rossi");
    type(w, "note", "nota,uno");
    w->addResourceLine(listLine("VOL.", 2, "ALFA", ""));
    w->addResourceLine(listLine("AUTO", 1, "ALFA", "JEEP"));
    w->addResourceLine(QString());
    w->addResourceLine(listLine("ATTR", 1, "ALFA", "TENDA")); // after the empty line: not written
    click(w, "cmdregistra");

    QCOMPARE(o.fake.prompts.messages(), QStringList({QString::fromUtf8("Attività inserita correttamente.")}));
    QCOMPARE(o.fake.busy.depth, 0);
    QVERIFY(!o.fake.prompts.busyAtPrompt.contains(true));
    QCOMPARE(o.read(File::NumeroProt), QByteArray(" 42 \r\n"));
    QCOMPARE(o.ctx.g.ultimoprot, qint16(42));
    QCOMPARE(o.read(File::Attivita),
             crlf({" 40 ,01/03/2025,08.00,,,,,A,B,C,,A",
                   w1252("42,03/03/2025,09.05,31/12/2025,23.07,,,INCENDIO  BOSCO  ALTO ,CITTÀ,ROSSI,NOTA UNO,A"),
                   " 43 ,01/03/2025,09.00,,,,,A,B,C,,A"}));
    QCOMPARE(o.read(File::Risorse), crlf({copied("40", "AUTO", 1, "ALFA", "JEEP", "O"),
                                          stored("42", "AUTO", 1, "ALFA", "JEEP", "O"),
                                          copied("42", "VOL.", 2, "ALFA", "", "O"),
                                          copied("43", "AUTO", 1, "ALFA", "JEEP", "O")}));
    // The registered registers become the rollback point.
    for (File f : {File::Associazioni, File::Automezzi, File::Attrezzature})
        QCOMPARE(o.read(archive::fileName(f).replace(".csv", ".sav")), o.read(f));
    // The window keeps its fields, also when the window system activates it
    // again as a message box closes.
    QEvent again(QEvent::WindowActivate);
    QApplication::sendEvent(w, &again);
    QCOMPARE(edit(w, "numprot")->text(), QString("42"));
    QCOMPARE(edit(w, "tipoatt")->text(), QString::fromUtf8("incendio, bosco \"alto\""));
    QCOMPARE(list(w)->count(), 4);

    // Back in the main window, the new activity waits to start... no: it
    // has a start time, so it stands among the started ones.
    o.activate(o.main);
    QCOMPARE(items(list(o.main, "List2")),
             QStringList({QString::fromUtf8("    42 03/03/2025 09.05 CITTÀ INCENDIO  BOSCO  ALTO")}));
    QCOMPARE(items(list(o.main, "List1")).size(), 2);

    // The next insert proposes 43, which exists and is refused.
    w = o.openInsert();
    QCOMPARE(edit(w, "numprot")->text(), QString("43"));
    QCOMPARE(list(w)->count(), 0);
}

void TestFormattivita::requiredFieldsAndBadInputWriteNothing()
{
    Office o;
    o.write(File::NumeroProt, " 41 \r\n");
    o.write(File::Attivita, crlf({"40,01/03/2025,08.00,,,,,A,B,C,,A"}));
    const QByteArray attivita = o.read(File::Attivita);
    auto *w = o.openInsert();
    auto untouched = [&] {
        QCOMPARE(o.read(File::NumeroProt), QByteArray(" 41 \r\n"));
        QCOMPARE(o.read(File::Attivita), attivita);
        QVERIFY(!o.exists(File::Risorse));
    };

    type(w, "orari", "10.00");
    type(w, "loc", "roma");
    type(w, "ric", "x");
    click(w, "cmdregistra"); // datari and tipoatt both empty: only the first is told
    QCOMPARE(o.fake.prompts.messages(), QStringList({"Data richiesta mancante"}));
    const QList<QPair<const char *, const char *>> order{
        {"datari", "Ora richiesta mancante"}, {"orari", "Tipo attività mancante"},
        {"tipoatt", "Località mancante"}, {"loc", "Richiedente attività mancante"}};
    type(w, "datari", "x");
    edit(w, "orari")->clear();
    edit(w, "loc")->clear();
    edit(w, "ric")->clear();
    for (const auto &step : order) {
        o.fake.prompts.clear();
        click(w, "cmdregistra");
        QCOMPARE(o.fake.prompts.messages(), QStringList({QString::fromUtf8(step.second)}));
        type(w, step.first == QByteArray("datari") ? "orari"
                : step.first == QByteArray("orari") ? "tipoatt"
                : step.first == QByteArray("tipoatt") ? "loc"
                                                       : "ric",
             " "); // a blank counts as filled
    }
    untouched();

    // Protocol numbers the records cannot hold.
    for (const char *bad : {"abc", "40000", "-32769", "4.5", "4,2", ""}) {
        o.fake.prompts.clear();
        type(w, "numprot", bad);
        click(w, "cmdregistra");
        QCOMPARE(o.fake.prompts.messages(),
                 QStringList({"Numero protocollo errato: inserire un numero intero da -32768 a 32767."}));
    }
    untouched();

    // A character Windows-1252 cannot hold.
    type(w, "numprot", "42");
    type(w, "note", QString::fromUtf8("fumo \u706B"));
    o.fake.prompts.clear();
    click(w, "cmdregistra");
    QCOMPARE(o.fake.prompts.messages().size(), 1);
    QVERIFY(o.fake.prompts.messages().first().contains(QString::fromUtf8("\u706B")));
    untouched();

    // -32768 is a number like any other.
    type(w, "note", "");
    type(w, "numprot", "-32768");
    o.fake.prompts.clear();
    click(w, "cmdregistra");
    QCOMPARE(o.fake.prompts.messages(), QStringList({QString::fromUtf8("Attività inserita correttamente.")}));
    QCOMPARE(o.read(File::NumeroProt), QByteArray("-32768 \r\n"));
    QVERIFY(o.read(File::Attivita).startsWith("-32768,x, ,,,,, , , ,,A\r\n"));
}

void TestFormattivita::counterAtItsLimit()
{
    Office o;
    o.write(File::NumeroProt, " 32767 \r\n");
    auto *w = o.openInsert();
    QVERIFY(edit(w, "numprot")->text().isEmpty());
    o.fillRequest(w);
    click(w, "cmdregistra");
    QCOMPARE(o.fake.prompts.messages().size(), 1);
    QVERIFY(o.fake.prompts.messages().first().contains("32767"));
    QCOMPARE(o.read(File::NumeroProt), QByteArray(" 32767 \r\n"));
    QVERIFY(!o.exists(File::Attivita));
    // A free number chosen by the user is taken.
    type(w, "numprot", "7");
    o.fake.prompts.clear();
    click(w, "cmdregistra");
    QCOMPARE(o.fake.prompts.messages(), QStringList({QString::fromUtf8("Attività inserita correttamente.")}));
    QCOMPARE(o.read(File::Attivita), crlf({"7,05/03/2025,14.30,,,,,INCENDIO,ROMA,ROSSI,,A"}));
}

void TestFormattivita::duplicateNumberOnInsert()
{
    Office o;
    o.write(File::NumeroProt, " 41 \r\n");
    o.write(File::Attivita, crlf({"39,D,O,,,,,T,L,R,,A", "41,D,O,,,,,T,L,R,,A"}));
    const QByteArray before = o.read(File::Attivita);
    auto *w = o.openInsert();
    o.fillRequest(w);
    type(w, "numprot", "41");
    w->addResourceLine(listLine("AUTO", 1, "ALFA", "JEEP"));
    click(w, "cmdregistra");
    QCOMPARE(o.fake.prompts.messages(), QStringList({QString::fromUtf8("Numero protocollo già esistente.")}));
    QCOMPARE(o.read(File::Attivita), before);
    QVERIFY(!o.exists(File::Risorse));
    QCOMPARE(o.read(File::NumeroProt), QByteArray(" 41 \r\n"));
    QCOMPARE(o.fake.busy.depth, 0);
    // Registering 40 puts it between 39 and 41 and sets the counter.
    type(w, "numprot", "40");
    o.fake.prompts.clear();
    click(w, "cmdregistra");
    QCOMPARE(o.read(File::Attivita), crlf({" 39 ,D,O,,,,,T,L,R,,A",
                                           "40,05/03/2025,14.30,,,,,INCENDIO,ROMA,ROSSI,,A",
                                           " 41 ,D,O,,,,,T,L,R,,A"}));
    QCOMPARE(o.read(File::NumeroProt), QByteArray(" 40 \r\n"));
}

void TestFormattivita::insertAlreadyClosedRunsAsAModification()
{
    Office o;
    QList<QByteArray> given;
    auto *w = o.openInsert();
    w->setGiveBack([&](const archive::Record &r) { given << r.raw; });
    QCOMPARE(edit(w, "numprot")->text(), QString("1"));
    o.fillRequest(w);
    type(w, "datafi", "05/03/2025");
    type(w, "orafi", "18.00");
    w->addResourceLine(listLine("AUTO", 1, "ALFA", "JEEP"));
    w->addResourceLine(listLine("ATTR", 2, "ALFA", "TENDA"));
    click(w, "cmdregistra");
    QCOMPARE(o.fake.prompts.messages(), QStringList({QString::fromUtf8("Attività modificata correttamente.")}));
    QCOMPARE(o.read(File::NumeroProt), QByteArray(" 1 \r\n"));
    QCOMPARE(o.read(File::Attivita), crlf({"1,05/03/2025,14.30,,,05/03/2025,18.00,INCENDIO,ROMA,ROSSI,,C"}));
    QCOMPARE(o.read(File::Risorse), crlf({copied("1", "ATTR", 2, "ALFA", "TENDA", "L"),
                                          copied("1", "AUTO", 1, "ALFA", "JEEP", "L")}));
    QCOMPARE(given.size(), 2);
    QCOMPARE(o.ctx.g.modoatt, QString("M"));
    QCOMPARE(o.ctx.g.protsel, QString("1"));
    for (File f : {File::Attivita, File::Risorse, File::Associazioni})
        QCOMPARE(o.read(archive::fileName(f).replace(".csv", ".sav")), o.read(f));
    // The window now holds the closed activity, its lines released.
    for (int i = 0; i < 2; ++i)
        QCOMPARE(list(w)->item(i)->data(Formattivita::kStateRole).toString(), QString("L"));
}

void TestFormattivita::modifyCloseReopenAndCancel()
{
    Office o;
    o.write(File::Attivita, crlf({"3,D,O,,,,,T,L,R,,A", kOpen5, "9,D,O,,,,,T,L,R,,A"}));
    o.write(File::Risorse, crlf({stored("3", "AUTO", 1, "ALFA", "JEEP", "O"),
                                 stored("5", "VOL.", 2, "ALFA", "", "O"),
                                 stored("5", "ATTR", 1, "ALFA", "TENDA", "O"),
                                 stored("9", "AUTO", 1, "BETA", "FURGONE", "O")}));
    QList<QByteArray> given;
    auto *w = o.openFromMain("5");
    w->setGiveBack([&](const archive::Record &r) { given << r.at(1).toLatin1(); });
    QCOMPARE(w->windowTitle(), QString::fromUtf8("Attività - Modifica"));
    QCOMPARE(button(w, "cmdregistra")->text(), QString("Modifica"));
    QCOMPARE(o.ctx.g.protsel, QString("5"));
    QCOMPARE(o.ctx.g.attchiusa, QString("0"));
    QCOMPARE(edit(w, "numprot")->text(), QString("5"));
    QCOMPARE(edit(w, "stato")->text(), QString("Aperta"));
    QCOMPARE(edit(w, "orain")->text(), QString("11.00"));
    QCOMPARE(edit(w, "note")->text(), QString("NOTE"));
    QCOMPARE(items(list(w)), QStringList({listLine("VOL.", 2, "ALFA", ""), listLine("ATTR", 1, "ALFA", "TENDA")}));
    QCOMPARE(o.read(File::AttivitaSav), o.read(File::Attivita));
    QCOMPARE(o.read(File::RisorseSav), o.read(File::Risorse));

    // Unchanged: same place, lines back in key order, still engaged.
    click(w, "cmdregistra");
    QCOMPARE(o.fake.prompts.messages(), QStringList({QString::fromUtf8("Attività modificata correttamente.")}));
    QCOMPARE(o.read(File::Attivita), crlf({" 3 ,D,O,,,,,T,L,R,,A", kOpen5, " 9 ,D,O,,,,,T,L,R,,A"}));
    QCOMPARE(o.read(File::Risorse), crlf({copied("3", "AUTO", 1, "ALFA", "JEEP", "O"),
                                          stored("5", "ATTR", 1, "ALFA", "TENDA", "O"),
                                          copied("5", "VOL.", 2, "ALFA", "", "O"),
                                          copied("9", "AUTO", 1, "BETA", "FURGONE", "O")}));
    QVERIFY(given.isEmpty());

    // Closing gives the resources back once and marks the lines released.
    type(w, "datafi", "02/03/2025");
    type(w, "orafi", "12.00");
    click(w, "cmdregistra");
    QCOMPARE(given, QList<QByteArray>({"ATTR", "VOL."}));
    QCOMPARE(o.read(File::Attivita),
             crlf({" 3 ,D,O,,,,,T,L,R,,A",
                   "5,01/03/2025,10.00,01/03/2025,11.00,02/03/2025,12.00,FRANA,PISA,BIANCHI,NOTE,C",
                   " 9 ,D,O,,,,,T,L,R,,A"}));
    QCOMPARE(o.read(File::Risorse), crlf({copied("3", "AUTO", 1, "ALFA", "JEEP", "O"),
                                          copied("5", "ATTR", 1, "ALFA", "TENDA", "L"),
                                          copied("5", "VOL.", 2, "ALFA", "", "L"),
                                          copied("9", "AUTO", 1, "BETA", "FURGONE", "O")}));
    // Closing again from the same window gives nothing back a second time.
    click(w, "cmdregistra");
    QCOMPARE(given.size(), 2);

    // The closed activity is gone from the main lists.
    o.activate(o.main);
    QCOMPARE(items(list(o.main, "List1")).size(), 2);
    QVERIFY(items(list(o.main, "List2")).isEmpty());

    // Re-opening a closed activity takes nothing: its lines stay released.
    o.ctx.g.protsel = "5";
    o.ctx.g.modoatt = "M";
    o.activate(w);
    QCOMPARE(o.ctx.g.attchiusa, QString("1"));
    QCOMPARE(edit(w, "stato")->text(), QString("Chiusa"));
    edit(w, "orafi")->clear();
    edit(w, "datafi")->clear();
    click(w, "cmdregistra");
    QVERIFY(o.read(File::Attivita).contains("5,01/03/2025,10.00,01/03/2025,11.00,,,FRANA,PISA,BIANCHI,NOTE,A"));
    QCOMPARE(o.read(File::Risorse), crlf({copied("3", "AUTO", 1, "ALFA", "JEEP", "O"),
                                          copied("5", "ATTR", 1, "ALFA", "TENDA", "L"),
                                          stored("5", "VOL.", 2, "ALFA", "", "L"),
                                          copied("9", "AUTO", 1, "BETA", "FURGONE", "O")}));
    // ...so closing it later gives nothing back.
    o.activate(o.main);
    w = o.openFromMain("5");
    QCOMPARE(o.ctx.g.attchiusa, QString("0"));
    type(w, "orafi", "13.00");
    click(w, "cmdregistra");
    QCOMPARE(given.size(), 2);
    // Nor does cancelling it.
    edit(w, "orafi")->clear();
    click(w, "cmdregistra");
    w = o.openCancel("5");
    QCOMPARE(w->windowTitle(), QString::fromUtf8("Attività - Annullamento"));
    QCOMPARE(button(w, "cmdregistra")->text(), QString("Annulla"));
    o.fake.prompts.clear();
    click(w, "cmdregistra");
    QCOMPARE(o.fake.prompts.messages(), QStringList({QString::fromUtf8("Attività annullata correttamente.")}));
    QCOMPARE(given.size(), 2);
    QVERIFY(o.read(File::Attivita).contains(" 5 ,01/03/2025,10.00,01/03/2025,11.00,,,FRANA,PISA,BIANCHI,NOTE,S\r\n"));
}

void TestFormattivita::cancelReleasesAnActivityLoadedOpen()
{
    Office o;
    o.write(File::Attivita, crlf({"3,D,O,,,,,T,L,R,,A", kOpen5}));
    o.write(File::Risorse, crlf({stored("5", "AUTO", 1, "ALFA", "JEEP", "O"),
                                 stored("5", "ATTR", 1, "ALFA", "TENDA", "L")}));
    QList<QByteArray> given;
    auto *w = o.openCancel("5");
    w->setGiveBack([&](const archive::Record &r) { given << r.at(1).toLatin1(); });
    QCOMPARE(o.ctx.g.modoatt, QString("A"));
    type(w, "orafi", "12.00"); // typed meanwhile: the activity still holds its vehicle
    type(w, "numprot", "3");   // the loaded activity is the one cancelled
    click(w, "cmdregistra");
    QCOMPARE(o.fake.prompts.messages(), QStringList({QString::fromUtf8("Attività annullata correttamente.")}));
    QCOMPARE(given, QList<QByteArray>({"AUTO"}));
    QCOMPARE(o.read(File::Attivita), crlf({" 3 ,D,O,,,,,T,L,R,,A",
                                           " 5 ,01/03/2025,10.00,01/03/2025,11.00,,,FRANA,PISA,BIANCHI,NOTE,S"}));
    QCOMPARE(o.read(File::Risorse), crlf({copied("5", "AUTO", 1, "ALFA", "JEEP", "L"),
                                          copied("5", "ATTR", 1, "ALFA", "TENDA", "L")}));
    QCOMPARE(o.read(File::AttivitaSav), o.read(File::Attivita));
    QCOMPARE(o.read(File::RisorseSav), o.read(File::Risorse));
    // Leaving after the cancellation keeps the registered state.
    click(w, "cmdesci");
    QVERIFY(!w->isVisible());
    QVERIFY(o.read(File::Attivita).endsWith(",S\r\n"));
}

void TestFormattivita::cancelOfAClosedActivityChangesOnlyItsState()
{
    Office o;
    o.write(File::Attivita, crlf({"5,D,O,,,D2,12.00,T,L,R,,C", "6,D,O,,,,,T,L,R,,A"}));
    const QByteArray risorse = crlf({stored("5", "AUTO", 1, "ALFA", "JEEP", "L"),
                                     stored("6", "AUTO", 1, "ALFA", "JEEP", "O")});
    o.write(File::Risorse, risorse);
    const QByteArray registers = o.read(File::Automezzi);
    int given = 0;
    auto *w = o.openCancel("5");
    w->setGiveBack([&](const archive::Record &) { ++given; });
    QCOMPARE(o.ctx.g.attchiusa, QString("1"));
    click(w, "cmdregistra");
    QCOMPARE(given, 0);
    QCOMPARE(o.read(File::Attivita), crlf({" 5 ,D,O,,,D2,12.00,T,L,R,,S", " 6 ,D,O,,,,,T,L,R,,A"}));
    QCOMPARE(o.read(File::Risorse), risorse);
    QCOMPARE(o.read(File::Automezzi), registers);
}

void TestFormattivita::modifyChangingTheNumber()
{
    Office o;
    o.write(File::Attivita, crlf({kOpen5, "7,D,O,,,,,T,L,R,,A"}));
    o.write(File::Risorse, crlf({stored("5", "AUTO", 1, "ALFA", "JEEP", "O"),
                                 stored("7", "AUTO", 1, "BETA", "JEEP", "O")}));
    const QByteArray attivita = o.read(File::Attivita), risorse = o.read(File::Risorse);
    auto *w = o.openFromMain("5");
    type(w, "numprot", "7");
    click(w, "cmdregistra");
    QCOMPARE(o.fake.prompts.messages(), QStringList({QString::fromUtf8("Numero protocollo già esistente.")}));
    QCOMPARE(o.read(File::Attivita), attivita);
    QCOMPARE(o.read(File::Risorse), risorse);
    type(w, "numprot", "8");
    o.fake.prompts.clear();
    click(w, "cmdregistra");
    QCOMPARE(o.fake.prompts.messages(), QStringList({QString::fromUtf8("Attività modificata correttamente.")}));
    QCOMPARE(o.read(File::Attivita),
             crlf({" 7 ,D,O,,,,,T,L,R,,A", "8,01/03/2025,10.00,01/03/2025,11.00,,,FRANA,PISA,BIANCHI,NOTE,A"}));
    QCOMPARE(o.read(File::Risorse), crlf({copied("7", "AUTO", 1, "BETA", "JEEP", "O"),
                                          stored("8", "AUTO", 1, "ALFA", "JEEP", "O")}));
    // The window now holds activity 8: registering again is no duplicate.
    QCOMPARE(o.ctx.g.protsel, QString("8"));
    o.fake.prompts.clear();
    click(w, "cmdregistra");
    QCOMPARE(o.fake.prompts.messages(), QStringList({QString::fromUtf8("Attività modificata correttamente.")}));
}

void TestFormattivita::chosenActivityNotFound()
{
    Office o;
    o.write(File::Attivita, crlf({kOpen5}));
    o.write(File::Risorse, crlf({stored("5", "AUTO", 1, "ALFA", "JEEP", "O")}));
    const QByteArray attivita = o.read(File::Attivita), risorse = o.read(File::Risorse);
    auto *w = o.windows->get<Formattivita>();
    for (const char *protsel : {"99", "abc"}) {
        o.fake.prompts.clear();
        o.ctx.g.protsel = protsel;
        o.ctx.g.modoatt = "M";
        o.activate(w);
        QCOMPARE(o.fake.prompts.messages(),
                 QStringList({QString::fromUtf8("Attività numero %1 non trovata.").arg(protsel)}));
        for (const char *f : {"numprot", "stato", "datari", "tipoatt"})
            QVERIFY(edit(w, f)->text().isEmpty());
        QCOMPARE(list(w)->count(), 0);
        // Filled in by hand, it still registers nothing.
        o.fillRequest(w);
        type(w, "numprot", "5");
        o.fake.prompts.clear();
        click(w, "cmdregistra");
        QCOMPARE(o.fake.prompts.messages(),
                 QStringList({QString::fromUtf8("Attività numero %1 non trovata.").arg(protsel)}));
        o.ctx.g.modoatt = "A";
        o.fake.prompts.clear();
        click(w, "cmdregistra");
        QCOMPARE(o.fake.prompts.messages().size(), 1);
        QCOMPARE(o.read(File::Attivita), attivita);
        QCOMPARE(o.read(File::Risorse), risorse);
    }
    // Leaving in cancel mode gives back the archives as they stood.
    click(w, "cmdesci");
    QCOMPARE(o.read(File::Attivita), attivita);
}

void TestFormattivita::leavingRollsBackOrKeeps()
{
    Office o;
    // Insert mode, resources not changed: the registers as they stand become
    // the rollback point.
    auto *w = o.openInsert();
    QCOMPARE(o.read(File::AutomezziSav), o.read(File::Automezzi));
    o.write(File::Automezzi, crlf({"ALFA,JEEP,A"}));
    click(w, "cmdesci");
    QVERIFY(!w->isVisible());
    QCOMPARE(o.read(File::AutomezziSav), crlf({"ALFA,JEEP,A"}));
    QCOMPARE(o.read(File::Automezzi), crlf({"ALFA,JEEP,A"}));

    // A deleted line: the registers go back to the rollback point.
    w = o.openInsert();
    o.write(File::Automezzi, crlf({"ALFA,JEEP,L"}));
    o.write(File::Associazioni, crlf({"ALFA,VIA A,,,,,,99"}));
    o.ctx.g.risorsecambiate = "1";
    click(w, "cmdesci");
    QCOMPARE(o.ctx.g.risorsecambiate, QString("0"));
    QCOMPARE(o.read(File::Automezzi), crlf({"ALFA,JEEP,A"}));
    QCOMPARE(o.read(File::Associazioni), crlf({"ALFA,VIA A,,,,,,10"}));

    // Cancel mode: the activity archives go back to their snapshot, the
    // registers stay.
    o.write(File::Attivita, crlf({kOpen5}));
    o.write(File::Risorse, crlf({stored("5", "AUTO", 1, "ALFA", "JEEP", "O")}));
    w = o.openCancel("5");
    o.write(File::Attivita, "changed\r\n");
    o.write(File::Risorse, "");
    o.write(File::Automezzi, crlf({"ALFA,JEEP,Z"}));
    click(w, "cmdesci");
    QCOMPARE(o.read(File::Attivita), crlf({kOpen5}));
    QCOMPARE(o.read(File::Risorse), crlf({stored("5", "AUTO", 1, "ALFA", "JEEP", "O")}));
    QCOMPARE(o.read(File::Automezzi), crlf({"ALFA,JEEP,Z"}));
}

void TestFormattivita::passingModesKeepTheWindow()
{
    Office o;
    o.write(File::Attivita, crlf({kOpen5}));
    auto *w = o.openFromMain("5");
    type(w, "note", "typed");
    for (const char *passing : {"RT", "RU", "RA"}) {
        o.ctx.g.modoattprec = "M";
        o.ctx.g.modoatt = passing;
        o.activate(w);
        QCOMPARE(o.ctx.g.modoatt, QString("M"));
        QCOMPARE(edit(w, "note")->text(), QString("typed"));
    }
    // Any other code: nothing at all.
    o.ctx.g.modoatt = "Q";
    o.activate(w);
    QCOMPARE(o.ctx.g.modoatt, QString("Q"));
    QCOMPARE(edit(w, "note")->text(), QString("typed"));
    o.fake.prompts.clear();
    click(w, "cmdregistra");
    QVERIFY(o.fake.prompts.messages().isEmpty());
    // Back in mode M, activation reloads what was typed away.
    o.ctx.g.modoatt = "M";
    o.activate(w);
    QCOMPARE(edit(w, "note")->text(), QString("NOTE"));
}

QTEST_MAIN(TestFormattivita)
#include "tst_formattivita.moc"
