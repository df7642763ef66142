#include "pickoffice.h"
#include "resourcetext.h"

using archive::File;

namespace {

QLineEdit *edit(QWidget *w, const QByteArray &name) { return child<QLineEdit>(w, name.constData()); }
void press(QWidget *w, const QByteArray &name) { ::press(w, name.constData()); }
QStringList records(const PickOffice &o) { return resourceRecords(o.read(File::Risorse)); }

const QString kCancelled = QString::fromUtf8("Attività annullata correttamente.");
const QString kDuplicate = QString::fromUtf8("Numero protocollo già esistente.");
const QString kBadNumber = "Numero protocollo errato: inserire un numero intero da -32768 a 32767.";
const QByteArray kOpen5 = "5,01/03/2025,10.00,01/03/2025,11.00,,,FRANA,PISA,BIANCHI,NOTE,A";

// Keeps the type of every resource the window hands back, in place of giving
// it back to its register.
void keepGiveBacks(Formattivita *w, QStringList &given)
{
    w->session().setGiveBack([&given](const archive::Record &r) {
        given << r.at(activities::RTipo);
        return true;
    });
}

} // namespace

class TestFormattivita : public QObject {
    Q_OBJECT
private slots:
    void resourceListGrowsWithTheWindow()
    {
        PickOffice o;
        auto *w = o.activity();
        w->show();
        const QSize before = o.resourceList()->size();
        w->resize(w->width() + 100, w->height() + 60);
        QCOMPARE(o.resourceList()->size(), before + QSize(100, 60));
        QCOMPARE(child<QPushButton>(w, "cmdesci")->y(), 512 + 60);
    }

    void insertProposesTheNextNumberAndRegisters()
    {
        PickOffice o;
        o.write(File::NumeroProt, " 41 \r\n");
        o.write(File::Attivita, crlf({"40,01/03/2025,08.00,,,,,A,B,C,,A", "43,01/03/2025,09.00,,,,,A,B,C,,A"}));
        o.write(File::Risorse, crlf({"40,AUTO,1,ALFA,JEEP,O", "43,AUTO,1,ALFA,JEEP,O"}));
        auto *w = o.openInsert();
        // The automatic buttons: the time alone, or the date and the time, as
        // the clock has them at the press.
        for (const QByteArray s : {"ri", "in", "fi"}) {
            const QString date = o.fake.clock.time.toString("dd/MM/yyyy"), time = o.fake.clock.time.toString("hh.mm");
            press(w, "cmdora" + s);
            QVERIFY(edit(w, "data" + s)->text().isEmpty());
            QCOMPARE(edit(w, "ora" + s)->text(), time);
            edit(w, "ora" + s)->clear();
            press(w, "cmddata" + s);
            QCOMPARE(edit(w, "data" + s)->text(), date);
            QCOMPARE(edit(w, "ora" + s)->text(), time);
            o.fake.clock.time = QDateTime(QDate(2025, 12, 31), QTime(23, 7));
        }
        edit(w, "datafi")->clear(); // not closed
        edit(w, "orafi")->clear();
        // Texts go in capitals, with commas and quotes as blanks; the lines
        // after an empty one are not written.
        typeText(w, "tipoatt", QString::fromUtf8("incendio, bosco \"alto\""));
        typeText(w, "loc", QString::fromUtf8("città"));
        typeText(w, "ric", "rossi");
        typeText(w, "note", "nota,uno");
        for (const QString &line : {listLine("VOL.", 2, "ALFA", ""), listLine("AUTO", 1, "ALFA", "JEEP"), QString(),
                                    listLine("ATTR", 1, "ALFA", "TENDA")})
            w->session().append(line);
        QCOMPARE(o.registerNow(), QStringList({kInserted}));
        QCOMPARE(o.fake.busy.depth, 0);
        QVERIFY(!o.fake.prompts.busyAtPrompt.contains(true));
        QCOMPARE(o.read(File::NumeroProt), QByteArray(" 42 \r\n"));
        QCOMPARE(o.ctx.g.ultimoprot, qint16(42));
        QCOMPARE(o.read(File::Attivita),
                 crlf({" 40 ,01/03/2025,08.00,,,,,A,B,C,,A",
                       w1252("42,03/03/2025,09.05,31/12/2025,23.07,,,INCENDIO  BOSCO  ALTO ,CITTÀ,ROSSI,NOTA UNO,A"),
                       " 43 ,01/03/2025,09.00,,,,,A,B,C,,A"}));
        QCOMPARE(records(o), QStringList({"40,AUTO,1,ALFA,JEEP,O", "42,AUTO,1,ALFA,JEEP,O", "42,VOL.,2,ALFA,,O",
                                          "43,AUTO,1,ALFA,JEEP,O"}));
        // The window keeps its fields, also when the window system activates
        // it again as a message box closes.
        QEvent again(QEvent::WindowActivate);
        QApplication::sendEvent(w, &again);
        QCOMPARE(edit(w, "numprot")->text(), QString("42"));
        QCOMPARE(edit(w, "tipoatt")->text(), QString::fromUtf8("incendio, bosco \"alto\""));
        QCOMPARE(o.resourceList()->count(), 4);
        // Registered, the new activity is the one the window modifies: a second "Registra",
        // here under another number, moves it instead of storing its resources twice.
        QCOMPARE(w->windowTitle(), QString::fromUtf8("Attività - Modifica"));
        QCOMPARE(child<QPushButton>(w, "cmdregistra")->text(), QString("Modifica"));
        typeText(w, "numprot", "44");
        QCOMPARE(o.registerNow(), QStringList({kModified}));
        QCOMPARE(records(o), QStringList({"40,AUTO,1,ALFA,JEEP,O", "43,AUTO,1,ALFA,JEEP,O", "44,AUTO,1,ALFA,JEEP,O",
                                          "44,VOL.,2,ALFA,,O"}));
        QVERIFY(!o.read(File::Attivita).contains("42,"));
        w = o.openInsert();
        QCOMPARE(edit(w, "numprot")->text(), QString("43"));
        for (const char *f : {"stato", "datari", "orari", "tipoatt", "loc", "ric", "note"})
            QVERIFY(edit(w, f)->text().isEmpty());
        QCOMPARE(o.resourceList()->count(), 0);
    }

    // A counter that cannot be read gives the number after the highest
    // activity, and the user is told (a byte-order mark is tst_smallwindows').
    void anUnreadableCounterIsNotTakenForZero_data()
    {
        QTest::addColumn<QByteArray>("counter");
        QTest::newRow("damaged") << QByteArray("guasto\r\n");
        QTest::newRow("empty") << QByteArray();
    }

    void anUnreadableCounterIsNotTakenForZero()
    {
        QFETCH(QByteArray, counter);
        PickOffice o;
        o.write(File::NumeroProt, counter);
        o.write(File::Attivita, crlf({"43,01/03/2025,09.00,,,,,A,B,C,,A", "40,01/03/2025,08.00,,,,,A,B,C,,A"}));
        QCOMPARE(edit(o.openInsert(), "numprot")->text(), QString("44"));
        QCOMPARE(o.fake.prompts.messages(),
                 QStringList{QString::fromUtf8("Il contatore dei protocolli (numeroprot.dat) non è leggibile: "
                                               "viene proposto il numero successivo al più alto di attivita.csv.")});
    }

    void refusalsWriteNothing()
    {
        PickOffice o;
        o.write(File::NumeroProt, " 32767 \r\n");
        o.write(File::Attivita, crlf({"39,D,O,,,,,T,L,R,,A", "41,D,O,,,,,T,L,R,,A"}));
        const QByteArray attivita = o.read(File::Attivita);
        auto *w = o.openInsert();
        w->session().append(listLine("AUTO", 1, "ALFA", "JEEP"));
        // The required texts in order, only the first missing one told; a
        // blank counts as filled.
        const QList<QPair<const char *, const char *>> required{
            {"datari", "Data richiesta mancante"}, {"orari", "Ora richiesta mancante"}, {"tipoatt", "Tipo attività mancante"}, {"loc", "Località mancante"}, {"ric", "Richiedente attività mancante"}};
        for (int i = 0; i < required.size(); ++i) {
            for (int j = 0; j < required.size(); ++j) typeText(w, required[j].first, j < i ? " " : "");
            QCOMPARE(o.registerNow(), QStringList({QString::fromUtf8(required[i].second)}));
        }
        // The counter at its limit proposes no number.
        o.fillRequest();
        QCOMPARE(o.registerNow(),
                 QStringList({QString::fromUtf8("Il contatore dei protocolli è arrivato a 32767 e non c'è un numero "
                                                "successivo: inserire in \"N. Protocollo\" un numero libero, "
                                                "oppure modificare il numero protocollo dal menu \"Ripristina\".")}));
        for (const char *bad : {"-32769", "32768", "4,2", "abc"}) {
            typeText(w, "numprot", bad);
            QCOMPARE(o.registerNow(), QStringList({kBadNumber}));
        }
        QCOMPARE(o.read(File::NumeroProt), QByteArray(" 32767 \r\n"));
        // A number that is taken: only the counter, written first, holds it.
        typeText(w, "numprot", "41");
        QCOMPARE(o.registerNow(), QStringList({kDuplicate}));
        QCOMPARE(o.read(File::NumeroProt), QByteArray(" 41 \r\n"));
        QCOMPARE(o.read(File::Attivita), attivita);
        QVERIFY(!o.exists(File::Risorse));
        QCOMPARE(o.fake.busy.depth, 0);
        // A free number chosen by the user becomes the counter (where it goes
        // among the others is tst_records').
        typeText(w, "numprot", "40");
        QCOMPARE(o.registerNow(), QStringList({kInserted}));
        QCOMPARE(records(o), QStringList({"40,AUTO,1,ALFA,JEEP,O"}));
        QCOMPARE(o.read(File::NumeroProt), QByteArray(" 40 \r\n"));
        // With the counter below its limit an empty number is simply wrong;
        // -32768 is a number like any other.
        w = o.openInsert();
        o.fillRequest();
        typeText(w, "numprot", "");
        QCOMPARE(o.registerNow(), QStringList({kBadNumber}));
        typeText(w, "numprot", "-32768");
        QCOMPARE(o.registerNow(), QStringList({kInserted}));
        QCOMPARE(o.read(File::NumeroProt), QByteArray("-32768 \r\n"));
    }

    void insertAlreadyClosedRunsAsAModification()
    {
        PickOffice o;
        QStringList given;
        auto *w = o.openInsert();
        keepGiveBacks(w, given);
        o.fillRequest();
        typeText(w, "datafi", "05/03/2025");
        typeText(w, "orafi", "18.00");
        w->session().append(listLine("AUTO", 1, "ALFA", "JEEP"));
        w->session().append(listLine("ATTR", 2, "ALFA", "TENDA"));
        QCOMPARE(o.registerNow(), QStringList({kModified}));
        QCOMPARE(o.read(File::Attivita), crlf({"7,05/03/2025,14.30,,,05/03/2025,18.00,INCENDIO,ROMA,ROSSI,,C"}));
        QCOMPARE(records(o), QStringList({"7,ATTR,2,ALFA,TENDA,L", "7,AUTO,1,ALFA,JEEP,L"}));
        QCOMPARE(given, QStringList({"ATTR", "AUTO"}));
        QCOMPARE(o.ctx.g.modoatt, modes::Activity::M);
        QCOMPARE(o.ctx.g.protsel, QString("7"));
        for (File f : {File::Attivita, File::Risorse, File::Associazioni})
            QCOMPARE(o.read(archive::fileName(f).replace(".csv", ".sav")), o.read(f));
    }

    void modifyCloseReopenAndCancel()
    {
        PickOffice o;
        o.write(File::Attivita, crlf({"3,D,O,,,,,T,L,R,,A", kOpen5, "9,D,O,,,,,T,L,R,,A"}));
        o.write(File::Risorse, crlf({"3,AUTO,1,ALFA,JEEP,O", "5,VOL.,2,ALFA,,O", "5,ATTR,1,ALFA,TENDA,O",
                                     "9,AUTO,1,BETA,FURGONE,O"}));
        // Activity 5 between its neighbours, which a rewrite copies.
        auto attivita = [](const QByteArray &five) {
            return crlf({" 3 ,D,O,,,,,T,L,R,,A", five, " 9 ,D,O,,,,,T,L,R,,A"});
        };
        auto linesOf5 = [&](const char *attr, const char *vol) {
            return QStringList{"3,AUTO,1,ALFA,JEEP,O", "5,ATTR,1,ALFA,TENDA," + QString(attr),
                               "5,VOL.,2,ALFA,," + QString(vol), "9,AUTO,1,BETA,FURGONE,O"};
        };
        QStringList given;
        auto *w = o.openFromMain("5");
        keepGiveBacks(w, given);
        QCOMPARE(w->windowTitle(), QString::fromUtf8("Attività - Modifica"));
        QCOMPARE(child<QPushButton>(w, "cmdregistra")->text(), QString("Modifica"));
        QCOMPARE(edit(w, "stato")->text(), QString("Aperta"));
        QCOMPARE(items(o.resourceList()), QStringList({listLine("VOL.", 2, "ALFA", ""), listLine("ATTR", 1, "ALFA", "TENDA")}));
        QCOMPARE(o.read(File::AttivitaSav), o.read(File::Attivita));
        QCOMPARE(o.read(File::RisorseSav), o.read(File::Risorse));
        // Unchanged: same place, lines back in key order, still engaged.
        QCOMPARE(o.registerNow(), QStringList({kModified}));
        QCOMPARE(o.read(File::Attivita), attivita(kOpen5));
        QCOMPARE(records(o), linesOf5("O", "O"));
        // Closing gives the resources back once and marks the lines released.
        typeText(w, "datafi", "02/03/2025");
        typeText(w, "orafi", "12.00");
        for (int time = 0; time < 2; ++time) {
            QCOMPARE(o.registerNow(), QStringList({kModified}));
            QCOMPARE(given, QStringList({"ATTR", "VOL."}));
            QCOMPARE(o.read(File::Attivita),
                     attivita("5,01/03/2025,10.00,01/03/2025,11.00,02/03/2025,12.00,FRANA,PISA,BIANCHI,NOTE,C"));
            QCOMPARE(records(o), linesOf5("L", "L"));
        }
        // Re-opening a closed activity takes nothing: its lines stay released.
        o.ctx.g.protsel = "5";
        o.ctx.g.modoatt = modes::Activity::M;
        o.activate(w);
        QVERIFY(o.ctx.g.attchiusa);
        QCOMPARE(edit(w, "stato")->text(), QString("Chiusa"));
        edit(w, "orafi")->clear();
        edit(w, "datafi")->clear();
        QCOMPARE(o.registerNow(), QStringList({kModified}));
        QCOMPARE(o.read(File::Attivita), attivita(kOpen5));
        QCOMPARE(records(o), linesOf5("L", "L"));
    }

    void cancelGivesBackOnlyWhatAnOpenActivityHolds()
    {
        PickOffice o;
        o.write(File::Attivita, crlf({"3,D,O,,,,,T,L,R,,A", kOpen5, "6,D,O,,,D2,12.00,T,L,R,,C"}));
        // Closed activity 6 still holds a line that could not go back.
        o.write(File::Risorse, crlf({"5,AUTO,1,ALFA,JEEP,O", "5,ATTR,1,ALFA,TENDA,L", "6,AUTO,1,ALFA,JEEP,O"}));
        QStringList given;
        auto *w = o.openFromList("mnattaann", "5");
        keepGiveBacks(w, given);
        typeText(w, "orafi", "12.00"); // typed meanwhile: the activity still holds its vehicle
        typeText(w, "numprot", "3");   // the loaded activity is the one cancelled
        QCOMPARE(o.registerNow(), QStringList({kCancelled}));
        QCOMPARE(given, QStringList({"AUTO"}));
        QCOMPARE(o.read(File::Attivita), crlf({" 3 ,D,O,,,,,T,L,R,,A",
                                               " 5 ,01/03/2025,10.00,01/03/2025,11.00,,,FRANA,PISA,BIANCHI,NOTE,S",
                                               " 6 ,D,O,,,D2,12.00,T,L,R,,C"}));
        QCOMPARE(records(o), QStringList({"5,AUTO,1,ALFA,JEEP,L", "5,ATTR,1,ALFA,TENDA,L", "6,AUTO,1,ALFA,JEEP,O"}));
        QCOMPARE(o.read(File::AttivitaSav), o.read(File::Attivita));
        QCOMPARE(o.read(File::RisorseSav), o.read(File::Risorse));
        // A closed activity: nothing is given back.
        given.clear();
        o.openFromList("mnattaann", "6");
        QCOMPARE(o.registerNow(), QStringList({kCancelled}));
        QVERIFY(given.isEmpty());
    }

    void chosenActivityNotFoundAndLeavingCancelMode()
    {
        PickOffice o;
        o.write(File::Attivita, crlf({kOpen5}));
        o.write(File::Risorse, crlf({"5,AUTO,1,ALFA,JEEP,O"}));
        const QByteArray attivita = o.read(File::Attivita), risorse = o.read(File::Risorse);
        auto *w = o.activity();
        for (const char *protsel : {"99", "abc"}) {
            const QStringList notFound{QString::fromUtf8("Attività numero %1 non trovata.").arg(protsel)};
            o.fake.prompts.clear();
            o.ctx.g.protsel = protsel;
            o.ctx.g.modoatt = modes::Activity::M;
            o.activate(w);
            QCOMPARE(o.fake.prompts.messages(), notFound);
            for (const char *f : {"numprot", "stato", "datari", "tipoatt"})
                QVERIFY(edit(w, f)->text().isEmpty());
            QCOMPARE(o.resourceList()->count(), 0);
            // Filled in by hand, it still registers nothing, nor cancels.
            o.fillRequest();
            typeText(w, "numprot", "5");
            QCOMPARE(o.registerNow(), notFound);
            o.ctx.g.modoatt = modes::Activity::A;
            QCOMPARE(o.registerNow(), notFound);
            QCOMPARE(o.read(File::Attivita), attivita);
            QCOMPARE(o.read(File::Risorse), risorse);
        }
        // Leaving in cancel mode without registering: the window wrote
        // nothing, so what a restore or a reset did meanwhile to the activity
        // archives stays, and so do the registers.
        w = o.openFromList("mnattaann", "5");
        o.write(File::Attivita, "changed\r\n");
        o.write(File::Risorse, "");
        o.write(File::Automezzi, crlf({"ALFA,JEEP,Z"}));
        press(w, "cmdesci");
        QCOMPARE(o.read(File::Attivita), QByteArray("changed\r\n"));
        QCOMPARE(o.read(File::Risorse), QByteArray());
        QCOMPARE(o.read(File::Automezzi), crlf({"ALFA,JEEP,Z"}));
    }

    void passingModesAndAChangedNumber()
    {
        PickOffice o;
        o.write(File::Attivita, crlf({kOpen5, "7,D,O,,,,,T,L,R,,A"}));
        o.write(File::Risorse, crlf({"5,AUTO,1,ALFA,JEEP,O", "7,AUTO,1,BETA,JEEP,O"}));
        const QByteArray attivita = o.read(File::Attivita), risorse = o.read(File::Risorse);
        auto *w = o.openFromMain("5");
        // The modes of a resource pick pass back to the window's own mode,
        // keeping what was typed; in no mode nothing happens at all, not even
        // a registration.
        typeText(w, "note", "typed");
        for (const modes::Activity passing :
             {modes::Activity::RT, modes::Activity::RU, modes::Activity::RA, modes::Activity::Unset}) {
            o.ctx.g.modoattprec = modes::Activity::M;
            o.ctx.g.modoatt = passing;
            o.activate(w);
            QCOMPARE(o.ctx.g.modoatt, passing == modes::Activity::Unset ? passing : modes::Activity::M);
            QCOMPARE(edit(w, "note")->text(), QString("typed"));
        }
        QVERIFY(o.registerNow().isEmpty());
        // Back in mode M, activation reloads what was typed away.
        o.ctx.g.modoatt = modes::Activity::M;
        o.activate(w);
        QCOMPARE(edit(w, "note")->text(), QString("NOTE"));
        // Another activity's number is refused; a free one moves the activity
        // and its lines.
        typeText(w, "numprot", "7");
        QCOMPARE(o.registerNow(), QStringList({kDuplicate}));
        QCOMPARE(o.read(File::Attivita), attivita);
        QCOMPARE(o.read(File::Risorse), risorse);
        typeText(w, "numprot", "8");
        QCOMPARE(o.registerNow(), QStringList({kModified}));
        QCOMPARE(o.read(File::Attivita),
                 crlf({" 7 ,D,O,,,,,T,L,R,,A", "8,01/03/2025,10.00,01/03/2025,11.00,,,FRANA,PISA,BIANCHI,NOTE,A"}));
        QCOMPARE(records(o), QStringList({"7,AUTO,1,BETA,JEEP,O", "8,AUTO,1,ALFA,JEEP,O"}));
        // The window now holds activity 8: registering again is no duplicate.
        QCOMPARE(o.registerNow(), QStringList({kModified}));
    }
};

QTEST_MAIN(TestFormattivita)
#include "tst_formattivita.moc"
