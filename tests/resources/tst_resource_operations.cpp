#include "pickoffice.h"

#include "activities/records.h"
#include "archive/rewrite.h"
#include "resources/operations.h"
#include "resources/unregistered.h"

#include <QFile>
#include <QFileInfo>

using archive::File;

namespace {

// A record of risorse.csv given back as the release does.
archive::Outcome giveBackStored(const archive::WorkingFolder &folder, const archive::Record &r)
{
    return resources::giveBackRecord(folder, activities::resourceOf(r), r.at(activities::RNumProt));
}

} // namespace

// The quantity rules and the give-back limits a window seldom reaches.
class TestResourceOperations : public QObject {
    Q_OBJECT
private slots:
    void quantities()
    {
        using namespace resources;
        for (const auto &c : std::vector<std::pair<QString, int>>{
                 {"3", 3}, {" 12 ", 12}, {"2.5", 2}, {"3.5", 4}, {"2,6", 3}, {"32767", 32767}, {"0", 0}})
            QCOMPARE(quantity(c.first), std::optional<qint16>(qint16(c.second)));
        for (const char *bad : {"", " ", "abc", "1e3", "-1", "-10000", "32768", "99999", "1,2,3"})
            QVERIFY2(!quantity(bad), bad);
        // The widest quantities still fill the five columns exactly.
        QCOMPARE(quantityColumn(-9999), QString("-9999"));
        QCOMPARE(quantityColumn(32767), QString("32767"));
    }

    void giveBackByTypeAndItsLimits()
    {
        using namespace resources;
        TestOffice o;
        o.write(File::Attrezzature, crlf({"ALFA,TENDA,L,32767", "ALFA,POMPA,A, 0 "}));
        o.write(File::Associazioni, crlf({"ALFA,,,,,,,,32767,1"}));
        const QByteArray associations = o.read(File::Associazioni);
        auto giveBack = [&](const QString &line) { return giveBackLine(o.ctx.folder, line); };
        const QString pompa = equipmentListLine("ALFA", "POMPA", "A", 0);

        const Outcome tooMany = giveBack(equipmentLine(equipmentListLine("ALFA", "TENDA", "L", 1), 1));
        QVERIFY(!resources::ok(tooMany));
        QVERIFY(archive::messageOf(tooMany).contains("32767"));
        QCOMPARE(o.read(File::Attrezzature), crlf({"ALFA,TENDA,L,32767", "ALFA,POMPA,A, 0 "}));
        QVERIFY(!resources::ok(giveBack(volunteersLine(associationListLine("ALFA", 1), 1))));
        QCOMPARE(o.read(File::Associazioni), associations);

        // Back to 0 pieces stays "A"; named volunteers and unknown types give
        // nothing back and write nothing.
        QVERIFY(resources::ok(giveBack(equipmentLine(pompa, 0))));
        QCOMPARE(o.read(File::Attrezzature), crlf({"ALFA,TENDA,L, 32767 ", "ALFA,POMPA,A, 0 "}));
        QVERIFY(resources::ok(giveBack(equipmentLine(pompa, 2))));
        QCOMPARE(o.read(File::Attrezzature), crlf({"ALFA,TENDA,L, 32767 ", "ALFA,POMPA,L, 2 "}));
        QVERIFY(resources::ok(giveBack(namedVolunteerLine(associationListLine("ALFA", 1), "X Y"))));
        QVERIFY(resources::ok(giveBack("XXXX      1   ALFA")));
        QCOMPARE(o.read(File::Associazioni), associations);

        // A quantity beyond the limits or one that is no number gives nothing
        // back; at release the refusal names the line, which stays engaged.
        const QByteArray equipment = o.read(File::Attrezzature);
        const QString stays = QString::fromUtf8(" La riga \"%1\" dell'attività 7 resta impegnata.");
        const std::pair<const char *, QString> refusals[] = {
            {" 7 ,ATTR,1,ALFA,TENDA,O", archive::messageOf(tooMany) + stays.arg("ATTR 1 ALFA TENDA")},
            {" 7 ,ATTR,molte,ALFA,POMPA,O",
             QString::fromUtf8("La quantità \"molte\" non è un numero: la risorsa non è stata restituita.")
                 + stays.arg("ATTR molte ALFA POMPA")}};
        for (const auto &[line, told] : refusals) {
            const Outcome refused =
                giveBackStored(o.ctx.folder, archive::parseRecord(line, activities::resourceFormat()));
            QCOMPARE(resources::ok(refused), false);
            QCOMPARE(archive::messageOf(refused), told);
            QCOMPARE(o.read(File::Attrezzature), equipment);
        }
    }

    // At a start what stopped desks left goes back: a process of this
    // computer that has ended, a desk of another computer silent for longer
    // than ten minutes, a copy that let one copy write at a time. A desk that
    // runs here, or was lately heard from elsewhere, keeps what it holds.
    void aStartGivesBackOnlyWhatStoppedDesksLeft()
    {
        TestOffice o;
        o.write(File::Attrezzature, crlf({"ALFA,TENDA,A, 0 "}));
        const QByteArray held = "P," + resources::equipmentLine(equipmentListLine("ALFA", "TENDA", "L", 5), 1).toLatin1() + "\r\n";
        const QString here = archive::Desk::current().hostId();
        const QStringList given = {"sospese-" + here + "-" + QString::number(endedProcess()) + ".dat", "sospese-ALTRO-PC-4343.dat", "sospese.dat"};
        const QStringList kept = {QFileInfo(archive::WorkingFolder(o.dir(), archive::Desk::another("b")).deskFile()).fileName(), "sospese-ALTRO-PC-4242.dat"};
        for (const QString &name : given + kept) o.write(name, held);
        age(o.path("sospese-ALTRO-PC-4343.dat"), 601);
        QVERIFY(resources::startDesk(o.ctx.folder).startsWith("Il programma non era stato chiuso normalmente"));
        QCOMPARE(o.read(File::Attrezzature), crlf({"ALFA,TENDA,L, 3 "}));
        for (const QString &name : given) QCOMPARE(o.read(name), QByteArray("<missing>"));
        for (const QString &name : kept) QCOMPARE(o.read(name), held);
        QCOMPARE(o.read(o.deskName()), archive::Desk::current().line() + "\r\n");
        QCOMPARE(resources::otherDesks(o.ctx.folder).size(), 2);
    }

    // A program killed while its activity window held changes it had not
    // registered: the next start undoes them from sospese.dat, record by
    // record, and says so once.
    void startGivesBackWhatAKilledWindowHeld()
    {
        using namespace resources;
        TestOffice o;
        o.write(File::Attrezzature, crlf({"ALFA,TENDA,A, 0 ", "BETA,POMPA,L, 5 "}));
        o.write(File::Associazioni, crlf({"ALFA,,,,,,,, 6 , 1 "}));
        o.write(File::Automezzi, crlf({"ALFA,JEEP,,,,,,,A", "BETA,AMB,,,,,,,L"}));
        o.write(File::Risorse, crlf({" 1 ,AUTO,    1 ,BETA,AMB,O"})); // the line the ambulance was given back from
        const QString tenda = equipmentLine(equipmentListLine("ALFA", "TENDA", "L", 3), 3);
        const QString jeep = vehicleLine(vehicleListLine("ALFA", "JEEP", "L"));
        const QString gone = vehicleLine(vehicleListLine("GAMMA", "FURGONE", "L"));
        const QString amb = vehicleLine(vehicleListLine("BETA", "AMB", "L"));
        const QString alfa = volunteersLine(associationListLine("ALFA", 10), 4);
        // Taken: the tent, the jeep, a van renamed since; given back (lines
        // deleted): the ambulance and ALFA's four volunteers.
        QVERIFY(saveUnregistered(o.ctx.folder, {{tenda, false}, {jeep, false}, {gone, false}, {amb, true}, {alfa, true}}).ok());
        const QByteArray held = "P," + tenda.toLatin1() + "\r\nP," + jeep.toLatin1() + "\r\nP," + gone.toLatin1()
                                + "\r\nR," + amb.toLatin1() + "\r\nR," + alfa.toLatin1() + "\r\n";
        QCOMPARE(o.read(o.deskName()), held);

        // A register that cannot be written: nothing changes, not even
        // sospese.dat, and the next start tries again.
        const QByteArray vehicles = o.read(File::Automezzi);
        QFile::setPermissions(o.path(File::Automezzi), QFile::ReadOwner);
        QVERIFY(undoLeftUnregistered(o.ctx.folder).contains("riproverà"));
        QFile::setPermissions(o.path(File::Automezzi), QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(o.read(o.deskName()), held);
        QCOMPARE(o.read(File::Automezzi), vehicles);
        QCOMPARE(o.read(File::Attrezzature), crlf({"ALFA,TENDA,A, 0 ", "BETA,POMPA,L, 5 "}));

        const QString said = undoLeftUnregistered(o.ctx.folder);
        QCOMPARE(o.read(File::Attrezzature), crlf({"ALFA,TENDA,L, 3 ", "BETA,POMPA,L, 5 "}));
        QCOMPARE(o.read(File::Automezzi), crlf({"ALFA,JEEP,,,,,,,L", "BETA,AMB,,,,,,,A"}));
        QCOMPARE(o.read(File::Associazioni), crlf({"ALFA,,,,,,,, 2 , 1 "}));
        QCOMPARE(o.read(o.deskName()), QByteArray()); // so the next start undoes nothing again
        for (const char *named : {"attrezzatura TENDA dell'associazione ALFA", "automezzo JEEP dell'associazione ALFA",
                                  "automezzo AMB dell'associazione BETA", "volontari dell'associazione ALFA",
                                  "automezzo FURGONE dell'associazione GAMMA", "non si trovano più"})
            QVERIFY2(said.contains(QString::fromUtf8(named)), named);
        QVERIFY(said.startsWith("Il programma non era stato chiuso normalmente"));

        // Left by an undo that could not be written when the program was last left normally.
        QVERIFY(saveUnregistered(o.ctx.folder, {{tenda, false}}).ok());
        QVERIFY(undoLeftUnregistered(o.ctx.folder, false).startsWith(QString::fromUtf8("Alla chiusura precedente")));
    }
};

QTEST_MAIN(TestResourceOperations)
#include "tst_resource_operations.moc"
