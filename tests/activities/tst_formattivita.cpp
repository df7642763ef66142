#include "pickoffice.h"
#include "registerdesk.h"
#include "resourcetext.h"

using archive::File;

namespace {

QLineEdit *edit(QWidget *w, const QByteArray &name) { return child<QLineEdit>(w, name.constData()); }
void press(QWidget *w, const QByteArray &name) { ::press(w, name.constData()); }
QStringList records(const PickOffice &o) { return resourceRecords(o.read(File::Risorse)); }

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
        w = o.openFromList("mnattamod", "5");
        QVERIFY(o.ctx.g.attchiusa);
        QCOMPARE(edit(w, "stato")->text(), QString("Chiusa"));
        edit(w, "orafi")->clear();
        edit(w, "datafi")->clear();
        QCOMPARE(o.registerNow(), QStringList({kModified}));
        QCOMPARE(o.read(File::Attivita), attivita(kOpen5));
        QCOMPARE(records(o), linesOf5("L", "L"));
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
            w->session().choose(protsel, modes::Activity::M);
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
        // Back in mode M, activation keeps what was typed.
        o.ctx.g.modoatt = modes::Activity::M;
        o.activate(w);
        QCOMPARE(edit(w, "note")->text(), QString("typed"));
        typeText(w, "note", "NOTE");
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

    // The dates and times through the window (the clock: 03/03/2025 09.05):
    // a refusal names the field and its form, puts the keyboard there and
    // leaves the archives and the fields as they were; what is registered is
    // written, and shown, in the archive's form.
    void datesAndTimes_data()
    {
        QTest::addColumn<QStringList>("typed"); // datari, orari, datain, orain, datafi, orafi
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");   // after a refusal
        QTest::addColumn<QString>("written"); // the six fields as registered
        const QString date = "errata: scrivere GG/MM/AAAA, per esempio 03/03/2025.", time = "errata: scrivere hh.mm, da 00.00 a 23.59, per esempio 09.05.";
        auto row = [](const char *name, const QStringList &typed, const QString &message, const char *focus) { QTest::newRow(name) << typed << message << QString(focus) << QString(); };
        auto ok = [](const char *name, const QStringList &typed, const QString &message, const char *written) { QTest::newRow(name) << typed << message << QString() << QString(written); };
        ok("started", {"05/03/2025", "14.30", "05/03/2025", "15.00", "", ""}, kInserted, "05/03/2025,14.30,05/03/2025,15.00,,");
        ok("forgiving forms", {"5/3/25", "14:30", "5.3.2025", "1500", "6-3-2025", "9"}, kModified, "05/03/2025,14.30,05/03/2025,15.00,06/03/2025,09.00");
        ok("one moment", {"29/02/2028", "0", "29/02/2028", "00.00", "29/2/28", "0000"}, kModified, "29/02/2028,00.00,29/02/2028,00.00,29/02/2028,00.00");
        row("31/02", {"31/02/2026", "14.30", "", "", "", ""}, "Data richiesta " + date, "datari");
        row("25.99", {"05/03/2025", "25.99", "", "", "", ""}, "Ora richiesta " + time, "orari");
        row("a form first", {"05/03/2025", "14.30", "", "15.00", "", "24.00"}, "Ora fine " + time, "orafi");
        row("start time alone", {"05/03/2025", "14.30", "", "15.00", "", ""}, QString::fromUtf8("Data inizio mancante: con l'ora inizio scrivere anche la data (GG/MM/AAAA, per esempio 03/03/2025), oppure cancellare l'ora inizio se l'attività non è iniziata."), "datain");
        row("end date alone", {"05/03/2025", "14.30", "05/03/2025", "15.00", "05/03/2025", ""}, QString::fromUtf8("Ora fine mancante: con la data fine scrivere anche l'ora (hh.mm, per esempio 09.05), oppure cancellare la data fine se l'attività non è finita."), "orafi");
        row("end without start", {"05/03/2025", "14.30", "", "", "05/03/2025", "18.00"}, QString::fromUtf8("Data inizio mancante: un'attività finita ha anche un inizio: scrivere data e ora inizio (GG/MM/AAAA, per esempio 03/03/2025)."), "datain");
        row("start before request", {"05/03/2025", "14.30", "5/3/2025", "14:00", "", ""}, "L'inizio (05/03/2025 14.00) precede la richiesta (05/03/2025 14.30).", "datain");
        row("end before start", {"05/03/2025", "14.30", "05/03/2025", "15.00", "4/3/25", "18.00"}, "La fine (04/03/2025 18.00) precede l'inizio (05/03/2025 15.00).", "datafi");
    }
    void datesAndTimes()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        QFETCH(QString, written);
        PickOffice o;
        auto *w = o.openInsert();
        const char *fields[] = {"datari", "orari", "datain", "orain", "datafi", "orafi"};
        for (int i = 0; i < 6; ++i) typeText(w, fields[i], typed.at(i));
        for (const char *f : {"tipoatt", "loc", "ric"}) typeText(w, f, "x");
        const auto before = o.files();
        QCOMPARE(o.registerNow(), QStringList{message});
        QStringList shown;
        for (const char *f : fields) shown << edit(w, f)->text();
        if (!focus.isEmpty()) {
            QCOMPARE(QApplication::focusWidget(), edit(w, focus.toLatin1()));
            QCOMPARE(shown, typed);
            QCOMPARE(o.files(), before);
            return;
        }
        QCOMPARE(shown.join(','), written);
        QCOMPARE(o.read(File::Attivita), crlf({"7," + written.toLatin1() + ",X,X,X,," + (shown.last().isEmpty() ? "A" : "C")}));
        QVERIFY(o.main->close()); // nothing left unregistered to ask about
        QVERIFY(o.fake.prompts.questions().isEmpty());
    }
    // Looking at another window keeps what is not registered; a new task, "Fine" and the
    // close of the main window ask first, naming it, and No keeps everything; "Annulla"
    // asks too. The right press acts on the line under the pointer, the Delete key on
    // the selected one, each naming it.
    void workKeptAndAskedBeforeItIsLost()
    {
        PickOffice o;
        o.write(File::Attivita, crlf({kOpen5}));
        o.write(File::Risorse, crlf({"5,ATTR,2,ALFA,POMPA,O", "5,AUTO,1,ALFA,JEEP,O"}));
        const QByteArray vehicles = crlf({kJeep.chopped(1) + "A", kAmbulanza});
        o.write(File::Automezzi, vehicles);
        int quits = 0;
        o.main->setQuitHandler([&] { ++quits; });
        auto *w = o.openFromMain("5");
        QListWidget *l = o.resourceList();
        clickLine(l, 0);
        o.fake.prompts.answers << false << true;
        QTest::mousePress(l->viewport(), Qt::RightButton, {}, l->visualItemRect(l->item(1)).center());
        QTest::keyClick(l, Qt::Key_Delete);
        QCOMPARE(o.fake.prompts.questions(), QStringList(2, "Elimino la riga AUTO 1 ALFA JEEP?"));
        typeText(w, "note", "scritta");
        const QByteArray kept = o.read(o.deskName());
        o.fromMenu<Formass>("mnassains");
        o.activate(w);
        QCOMPARE(edit(w, "note")->text(), QString("scritta"));
        QCOMPARE(l->count(), 1);
        QCOMPARE(o.read(o.deskName()), kept);

        const QString quit = QString::fromUtf8("L'attività numero 5 ha modifiche non registrate (1 risorsa eliminata, "
                                               "campi modificati). Esco senza registrarle?");
        const QString abandon = QString::fromUtf8("L'attività numero 5 ha dati non registrati. Li abbandono?");
        o.fake.prompts.clear();
        o.fake.prompts.answers << false << false << false << true;
        o.main->action("mnfine")->trigger();
        QVERIFY(!o.main->close());
        o.openInsert();
        QCOMPARE(edit(w, "note")->text(), QString("scritta"));
        o.openFromMain("5");
        QCOMPARE(o.fake.prompts.questions(), QStringList({quit, quit, abandon, abandon}));
        QCOMPARE(o.read(o.deskName()), QByteArray());
        QCOMPARE(o.read(File::Automezzi), vehicles);

        o.openFromList("mnattaann", "5");
        QVERIFY(o.registerNow({false}).isEmpty());
        QCOMPARE(o.fake.prompts.questions(), QStringList{QString::fromUtf8("Annullo l'attività numero 5?")});
        QVERIFY(o.read(File::Attivita).endsWith(",A\r\n"));
        QCOMPARE(o.registerNow({true}), QStringList{QString::fromUtf8("Attività annullata correttamente.")});
        // Nothing left unregistered: the end comes at once.
        QVERIFY(o.main->close());
        QCOMPARE(quits, 1);
        QCOMPARE(o.fake.prompts.questions().size(), 1);
    }
    void fineAsksOnce() // the end then closes every window, the main one too
    {
        PickOffice o;
        o.main->setQuitHandler([] { QApplication::closeAllWindows(); });
        o.openInsert();
        o.add("cmdauto", ResourceKind::Vehicle, vehicleListLine("ALFA", "JEEP", "L"));
        o.fake.prompts.clear();
        o.fake.prompts.answers << true;
        o.main->action("mnfine")->trigger();
        QCOMPARE(o.fake.prompts.questions().size(), 1);
    }
};

QTEST_MAIN(TestFormattivita)
#include "tst_formattivita.moc"
