#include "activities/activitysession.h"
#include "registers/holdings.h"
#include "resources/lines.h"
#include "resources/unregistered.h"
#include "resourcetext.h"
#include "testkit.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

using activities::ActivitySession;
using archive::File;
using modes::Activity;

namespace {

// The lines the register lists hand over.
QString pairLine(const QString &assoc, const QString &descr, const QString &state)
{
    return assoc.leftJustified(50) + descr.leftJustified(50) + state;
}
const QString kTenda = pairLine("ALFA", "TENDA", "L") + "  3";
const QString kJeep = pairLine("ALFA", "JEEP", "L");
const QString kAlfa = QString("ALFA").leftJustified(50) + " 10";

const QByteArray kEquipment = "ALFA,TENDA,L,3\r\n";
const QByteArray kVehicles = "ALFA,JEEP,CAMPO1,01/03/2025,08.00,,,SOCCORSO,L\r\n";
const QByteArray kAssociations = "ALFA,VIA ROMA 1,ROMA,RM,061234,,,CAMPO1,10,12\r\n";

activities::ActivityInput request(const QString &numprot)
{
    activities::ActivityInput in;
    in.numprot = numprot;
    in.datari = "05/03/2025", in.orari = "14.30", in.tipoatt = "incendio", in.loc = "roma", in.ric = "rossi";
    return in;
}

const QString kInserted = QString::fromUtf8("Attività inserita correttamente.");
const QString kModified = QString::fromUtf8("Attività modificata correttamente.");
const QString kCancelled = QString::fromUtf8("Attività annullata correttamente.");
const QString kDuplicate = QString::fromUtf8("Numero protocollo già esistente.");
const QString kBadNumber = "Numero protocollo errato: inserire un numero intero da -32768 a 32767.";

struct Desk : TestFolder {
    Desk()
    {
        write(File::Attrezzature, kEquipment);
        write(File::Automezzi, kVehicles);
        write(File::Associazioni, kAssociations);
        write(File::NumeroProt, "6\r\n");
        open();
    }
    // The program starts (again): the session of the window, shown.
    void open()
    {
        session = std::make_unique<ActivitySession>(ctx);
        session->setShown(true);
    }
    // A menu entry or a list gives the activity window a new task, which it
    // loads as it is activated; what it was told.
    QStringList enter(Activity mode, const QString &protsel = {})
    {
        const QStringList told = session->choose(protsel, mode).messages;
        return told + session->activate().messages;
    }
    ActivitySession::Outcome take(ResourceKind kind, const QString &line, const QString &qty = "1")
    {
        ActivitySession::Outcome refused;
        refused.status = ActivitySession::Outcome::Refused;
        if (!session->startPicking(kind)) return refused;
        const auto offered = session->offer(kind, line);
        if (!offered.done()) return offered;
        session->activate(); // back to the activity window
        return session->add(qty);
    }
    // Keeps the type of every resource handed back, in place of giving it
    // back to its register.
    void keepGiveBacks(QStringList &given)
    {
        session->setGiveBack([&given](const archive::Record &r) {
            given << r.at(activities::RTipo);
            return true;
        });
    }
    QStringList registerNow(const activities::ActivityInput &in) { return session->registerActivity(in).messages; }
    QStringList records() const { return resourceRecords(read(File::Risorse)); }
    QByteArray registers() const { return read(File::Attrezzature) + read(File::Automezzi) + read(File::Associazioni); }
    QByteArray kept() const { return read(resources::unregisteredPath(ctx.folder)); }

    std::unique_ptr<ActivitySession> session;
};

} // namespace

class TestActivitySession : public QObject {
    Q_OBJECT
private slots:
    // Take, give back, register: the registers, sospese.dat and the modes
    // after each step; nothing given back twice, nothing left to undo.
    void takeGiveBackAndRegister()
    {
        Desk d;
        QSignalSpy picks(d.session.get(), &ActivitySession::pickStarted);
        QVERIFY(d.enter(Activity::I).isEmpty());
        QCOMPARE(d.session->fields().numprot, QString("7"));
        QVERIFY(d.session->startPicking(ResourceKind::Equipment));
        QCOMPARE(picks.size(), 1);
        // A second button before coming back keeps the mode to return to.
        QVERIFY(d.session->startPicking(ResourceKind::Vehicle));
        QCOMPARE(d.ctx.g.modoatt, Activity::RU);
        QCOMPARE(d.ctx.g.modoattprec, Activity::I);
        QVERIFY(d.session->offer(ResourceKind::Equipment, kTenda).done());
        QCOMPARE(d.ctx.g.modoatt, Activity::RT);
        QCOMPARE(d.session->pick().line, kTenda);
        QVERIFY(d.session->add("2").done());
        const QString tenda = "ATTR      2   " + kTenda;
        QCOMPARE(d.read(File::Attrezzature), QByteArray("ALFA,TENDA,L, 1 \r\n"));
        QCOMPARE(d.kept(), "P," + tenda.toLatin1() + "\r\n");
        QCOMPARE(d.session->lines().at(0).state, QString("O"));
        QVERIFY(d.session->lines().at(0).fresh);
        // Taken and given back before registering: nothing left to undo.
        QVERIFY(d.session->deleteLine(0).done());
        QCOMPARE(d.read(File::Attrezzature), QByteArray("ALFA,TENDA,L, 3 \r\n"));
        QCOMPARE(d.kept(), QByteArray());
        QVERIFY(d.ctx.g.risorsecambiate);

        QVERIFY(d.take(ResourceKind::Vehicle, kJeep).done());
        QVERIFY(d.take(ResourceKind::Association, kAlfa, "4").done());
        QCOMPARE(d.registerNow(request(d.session->fields().numprot)), QStringList{kInserted});
        QCOMPARE(d.ctx.g.modoatt, Activity::M);
        QCOMPARE(d.ctx.g.protsel, QString("7"));
        QCOMPARE(d.session->stateWord(), QString("Aperta"));
        QCOMPARE(d.kept(), QByteArray());
        QVERIFY(d.session->unregistered().isEmpty());
        QCOMPARE(resourceRecords(d.read(File::Risorse)), QStringList({"7,AUTO,1,ALFA,JEEP,O", "7,VOL.,4,ALFA,,O"}));
        // Leaving undoes nothing: what is registered stays taken.
        const QByteArray taken = d.registers();
        QVERIFY(d.session->leave().messages.isEmpty());
        QCOMPARE(d.registers(), taken);
        QCOMPARE(d.read(File::AutomezziSav), d.read(File::Automezzi));
    }

    // What was not registered goes back record by record at every moment of
    // the undo: leaving, a new task (a new activity or another one chosen),
    // the end of the program (discard), and the next start after an abnormal
    // end.
    void theUndoMoments_data()
    {
        QTest::addColumn<QString>("moment");
        for (const char *m : {"leave", "new task", "discard", "abnormal end"}) QTest::newRow(m) << QString(m);
    }
    void theUndoMoments()
    {
        QFETCH(QString, moment);
        Desk d;
        d.enter(Activity::I);
        QVERIFY(d.take(ResourceKind::Equipment, kTenda, "3").done());
        QVERIFY(d.take(ResourceKind::Vehicle, kJeep).done());
        // Another desk registers meanwhile: the undo keeps it.
        d.write(File::Associazioni, "ALFA,VIA ROMA 1,ROMA,RM,061234,,,CAMPO1,9,12\r\n");
        QVERIFY(d.registers() != kEquipment + kVehicles);
        if (moment == "leave") d.session->leave();
        else if (moment == "new task") d.enter(Activity::I);
        else if (moment == "discard") d.session->discard();
        else {
            d.session.reset(); // nothing written on the way out
            QCOMPARE(resources::readUnregistered(d.ctx.folder).size(), 2);
            QVERIFY(!resources::undoLeftUnregistered(d.ctx.folder).isEmpty());
            d.open();
        }
        QCOMPARE(d.read(File::Attrezzature), QByteArray("ALFA,TENDA,L, 3 \r\n"));
        QCOMPARE(d.read(File::Automezzi), kVehicles);
        QCOMPARE(d.read(File::Associazioni), QByteArray("ALFA,VIA ROMA 1,ROMA,RM,061234,,,CAMPO1,9,12\r\n"));
        QCOMPARE(d.kept(), QByteArray());
        QVERIFY(d.session->unregistered().isEmpty() && d.session->leftover().isEmpty());
    }

    // Refused actions write nothing and leave the session as it was.
    void refusalsChangeNothing()
    {
        Desk d;
        // No activity shown: the pick has nowhere to go.
        d.session->setShown(false);
        d.ctx.g.modoatt = Activity::I;
        QVERIFY(!d.session->startPicking(ResourceKind::Equipment));
        QCOMPARE(d.session->offer(ResourceKind::Equipment, kTenda).status, ActivitySession::Outcome::NoActivity);
        QCOMPARE(d.session->add("1").status, ActivitySession::Outcome::NoActivity);
        d.session->setShown(true);
        d.enter(Activity::I);
        QCOMPARE(d.session->offer(ResourceKind::Equipment, "   ").status, ActivitySession::Outcome::Refused);
        for (const char *qty : {"abc", "-1", "32768", "4"}) {
            const auto out = d.take(ResourceKind::Equipment, kTenda, qty);
            QCOMPARE(out.status, ActivitySession::Outcome::Refused);
            QCOMPARE(out.messages.size(), 1);
        }
        // A record gone since the list showed it.
        QCOMPARE(d.take(ResourceKind::Vehicle, pairLine("ALFA", "FURGONE", "L")).status,
                 ActivitySession::Outcome::Refused);
        QCOMPARE(d.registers(), kEquipment + kVehicles + kAssociations);
        QVERIFY(d.session->lines().isEmpty());
        QCOMPARE(d.kept(), QByteArray("<missing>"));
        // sospese.dat cannot be written (a folder stands where its new
        // content goes): the register is not written either, and no line
        // stands.
        const QString staged = archive::stagedPath(resources::unregisteredPath(d.ctx.folder), d.ctx.folder.desk());
        QVERIFY(QDir().mkdir(staged));
        const auto failed = d.take(ResourceKind::Equipment, kTenda, "2");
        QCOMPARE(failed.status, ActivitySession::Outcome::Refused);
        QVERIFY(failed.messages.value(0).contains(d.deskName()));
        QCOMPARE(d.registers(), kEquipment + kVehicles + kAssociations);
        QVERIFY(d.session->lines().isEmpty() && d.session->unregistered().isEmpty());
        QVERIFY(QDir().rmdir(staged));
        // Cancelling deletes no line.
        d.write(File::Attivita, "5,D,O,,,,,T,L,R,,A\r\n");
        d.write(File::Risorse, "5,AUTO,1,ALFA,JEEP,O\r\n");
        d.enter(Activity::A, "5");
        QVERIFY(!d.session->mayDeleteLines());
        QCOMPARE(d.session->deleteLine(0).status, ActivitySession::Outcome::Refused);
        QCOMPARE(d.session->lines().size(), 1);
    }

    // A renamed association follows into the lines and into what is held
    // unregistered, so that the undo finds its record.
    void aRenameFollows()
    {
        Desk d;
        d.enter(Activity::I);
        QVERIFY(d.take(ResourceKind::Association, kAlfa, "4").done());
        d.write(File::Associazioni, "DELTA,VIA ROMA 1,ROMA,RM,061234,,,CAMPO1,6,12\r\n");
        d.ctx.associationRenamed("ALFA", "DELTA");
        QCOMPARE(d.session->lines().at(0).line, "VOL.      4   " + QString("DELTA").leftJustified(50));
        QVERIFY(d.session->discard().messages.isEmpty());
        QCOMPARE(d.read(File::Associazioni), QByteArray("DELTA,VIA ROMA 1,ROMA,RM,061234,,,CAMPO1, 10 , 12 \r\n"));
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
        Desk d;
        d.write(File::NumeroProt, counter);
        d.write(File::Attivita, crlf({"43,01/03/2025,09.00,,,,,A,B,C,,A", "40,01/03/2025,08.00,,,,,A,B,C,,A"}));
        QCOMPARE(d.enter(Activity::I),
                 QStringList{QString::fromUtf8("Il contatore dei protocolli (numeroprot.dat) non è leggibile: "
                                               "viene proposto il numero successivo al più alto di attivita.csv.")});
        QCOMPARE(d.session->fields().numprot, QString("44"));
    }

    void registrationRefusalsWriteNothing()
    {
        Desk d;
        d.write(File::NumeroProt, " 32767 \r\n");
        d.write(File::Attivita, crlf({"39,D,O,,,,,T,L,R,,A", "41,D,O,,,,,T,L,R,,A"}));
        const QByteArray attivita = d.read(File::Attivita);
        d.enter(Activity::I);
        QVERIFY(d.session->fields().numprot.isEmpty());
        QVERIFY(d.session->append(listLine("AUTO", 1, "ALFA", "JEEP")).done());
        // The required texts in order, only the first missing one told; a
        // blank counts as a filled text (a date and a time must be one).
        using In = activities::ActivityInput;
        const QList<QPair<QString In::*, const char *>> required{
            {&In::datari, "Data richiesta mancante"}, {&In::orari, "Ora richiesta mancante"}, {&In::tipoatt, "Tipo attività mancante"}, {&In::loc, "Località mancante"}, {&In::ric, "Richiedente attività mancante"}};
        for (int i = 0; i < required.size(); ++i) {
            In in;
            for (int j = 0; j < required.size(); ++j) in.*required[j].first = j >= i ? "" : j == 0 ? "05/03/2025"
                                                                                        : j == 1   ? "14.30"
                                                                                                   : " ";
            QCOMPARE(d.registerNow(in), QStringList({QString::fromUtf8(required[i].second)}));
        }
        // The counter at its limit proposes no number.
        In in = request(QString());
        QCOMPARE(d.registerNow(in),
                 QStringList({QString::fromUtf8("Il contatore dei protocolli è arrivato a 32767 e non c'è un numero "
                                                "successivo: inserire in \"N. Protocollo\" un numero libero, "
                                                "oppure modificare il numero protocollo dal menu \"Ripristina\".")}));
        for (const char *bad : {"-32769", "32768", "4,2", "abc"}) {
            in.numprot = bad;
            QCOMPARE(d.registerNow(in), QStringList({kBadNumber}));
        }
        QCOMPARE(d.read(File::NumeroProt), QByteArray(" 32767 \r\n"));
        // A number that is taken: nothing is written, not even the counter.
        in.numprot = "41";
        QCOMPARE(d.registerNow(in), QStringList({kDuplicate}));
        QCOMPARE(d.read(File::NumeroProt), QByteArray(" 32767 \r\n"));
        QCOMPARE(d.read(File::Attivita), attivita);
        QVERIFY(!d.exists(File::Risorse));
        // A free number chosen by the user becomes the counter (where it goes
        // among the others is tst_records').
        in.numprot = "40";
        QCOMPARE(d.registerNow(in), QStringList({kInserted}));
        QCOMPARE(d.records(), QStringList({"40,AUTO,1,ALFA,JEEP,O"}));
        QCOMPARE(d.read(File::NumeroProt), QByteArray(" 40 \r\n"));
        // With the counter below its limit an empty number is simply wrong;
        // -32768 is a number like any other.
        d.enter(Activity::I);
        in.numprot = "";
        QCOMPARE(d.registerNow(in), QStringList({kBadNumber}));
        in.numprot = "-32768";
        QCOMPARE(d.registerNow(in), QStringList({kInserted}));
        QCOMPARE(d.read(File::NumeroProt), QByteArray("-32768 \r\n"));
    }

    // The number proposed, given meanwhile by another desk, becomes the next
    // free one and the operator is told; a number typed that exists is
    // refused as always.
    void aNumberAnotherDeskGaveIsNotGivenTwice()
    {
        Desk d;
        d.write(File::NumeroProt, " 15 \r\n");
        d.enter(Activity::I);
        QCOMPARE(d.session->fields().numprot, QString("16"));
        d.write(File::Attivita, crlf({"16,D,O,,,,,T,L,R,,A", "17,D,O,,,,,T,L,R,,A"}));
        d.write(File::NumeroProt, " 17 \r\n");
        QCOMPARE(d.registerNow(request("16")),
                 QStringList{QString::fromUtf8("Attività inserita con il numero 18: il 16 è stato appena dato da un'altra postazione.")});
        QCOMPARE(d.read(File::Attivita).count("\r\n18,"), 1);
        QCOMPARE(d.read(File::NumeroProt), QByteArray(" 18 \r\n"));
        QCOMPARE(d.ctx.g.protsel, QString("18"));
        QCOMPARE(d.session->typed().numprot, QString("18"));
        d.enter(Activity::I);
        QCOMPARE(d.registerNow(request("17")), QStringList({kDuplicate}));
    }

    void insertAlreadyClosedRunsAsAModification()
    {
        Desk d;
        QStringList given;
        d.keepGiveBacks(given);
        d.enter(Activity::I);
        activities::ActivityInput in = request("7");
        in.datain = "05/03/2025", in.orain = "15.00", in.datafi = "05/03/2025", in.orafi = "18.00";
        d.session->append(listLine("AUTO", 1, "ALFA", "JEEP"));
        d.session->append(listLine("ATTR", 2, "ALFA", "TENDA"));
        QCOMPARE(d.registerNow(in), QStringList({kModified}));
        QCOMPARE(d.read(File::Attivita), crlf({"7,05/03/2025,14.30,05/03/2025,15.00,05/03/2025,18.00,INCENDIO,ROMA,ROSSI,,C"}));
        QCOMPARE(d.records(), QStringList({"7,ATTR,2,ALFA,TENDA,L", "7,AUTO,1,ALFA,JEEP,L"}));
        QCOMPARE(given, QStringList({"ATTR", "AUTO"}));
        QCOMPARE(d.ctx.g.modoatt, Activity::M);
        QCOMPARE(d.ctx.g.protsel, QString("7"));
        for (File f : {File::Attivita, File::Risorse, File::Associazioni})
            QCOMPARE(d.read(archive::fileName(f).replace(".csv", ".sav")), d.read(f));
    }

    void cancelGivesBackOnlyWhatAnOpenActivityHolds()
    {
        Desk d;
        d.write(File::Attivita, crlf({"3,D,O,,,,,T,L,R,,A", "5,01/03/2025,10.00,01/03/2025,11.00,,,FRANA,PISA,BIANCHI,NOTE,A", "6,D,O,,,D2,12.00,T,L,R,,C"}));
        // Closed activity 6 still holds a line that could not go back.
        d.write(File::Risorse, crlf({"5,AUTO,1,ALFA,JEEP,O", "5,ATTR,1,ALFA,TENDA,L", "6,AUTO,1,ALFA,JEEP,O"}));
        QStringList given;
        d.keepGiveBacks(given);
        d.enter(Activity::A, "5");
        activities::ActivityInput in = d.session->fields();
        in.orafi = "12.00"; // typed meanwhile: the activity still holds its vehicle
        in.numprot = "3";   // the loaded activity is the one cancelled
        QCOMPARE(d.registerNow(in), QStringList({kCancelled}));
        QCOMPARE(given, QStringList({"AUTO"}));
        QCOMPARE(d.read(File::Attivita), crlf({" 3 ,D,O,,,,,T,L,R,,A", " 5 ,01/03/2025,10.00,01/03/2025,11.00,,,FRANA,PISA,BIANCHI,NOTE,S", " 6 ,D,O,,,D2,12.00,T,L,R,,C"}));
        QCOMPARE(d.records(), QStringList({"5,AUTO,1,ALFA,JEEP,L", "5,ATTR,1,ALFA,TENDA,L", "6,AUTO,1,ALFA,JEEP,O"}));
        QCOMPARE(d.read(File::AttivitaSav), d.read(File::Attivita));
        QCOMPARE(d.read(File::RisorseSav), d.read(File::Risorse));
        // A closed activity: nothing is given back.
        given.clear();
        d.enter(Activity::A, "6");
        QCOMPARE(d.registerNow(d.session->fields()), QStringList({kCancelled}));
        QVERIFY(given.isEmpty());
    }

    // Activation keeps a new activity as it stands, its number following the
    // counter (another desk registered meanwhile) until one is typed.
    void theNumberProposedFollowsTheCounter()
    {
        Desk d;
        d.enter(Activity::I);
        QVERIFY(d.take(ResourceKind::Equipment, kTenda, "2").done());
        activities::ActivityInput typed = d.session->typed();
        for (const char *counter : {" 9 ", " 12 "}) {
            d.write(File::NumeroProt, QByteArray(counter) + "\r\n");
            d.session->activate();
            QCOMPARE(d.session->typed().numprot, QString(counter == QByteArray(" 9 ") ? "10" : "30"));
            typed.numprot = "30";
            d.session->setTyped(typed);
        }
        QCOMPARE(d.session->lines().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestActivitySession)
#include "tst_activitysession.moc"
