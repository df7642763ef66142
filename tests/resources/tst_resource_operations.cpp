#include "testkit.h"

#include "../activities/resourcetext.h"
#include "pickoffice.h"

#include "activities/records.h"
#include "archive/rewrite.h"
#include "resources/operations.h"

#include <QTest>

using archive::File;

class TestResourceOperations : public QObject {
    Q_OBJECT
private slots:
    void linesAndQuantities();
    void onePassRegistrationGivesThePerLineBytes();
    void giveBackByTypeAndItsLimits();
};

void TestResourceOperations::linesAndQuantities()
{
    using namespace resources;
    for (const auto &c : std::vector<std::pair<QString, int>>{
             {"3", 3}, {" 12 ", 12}, {"2.5", 2}, {"3.5", 4}, {"2,6", 3}, {"-9999", -9999},
             {"32767", 32767}, {"0", 0}})
        QCOMPARE(quantity(c.first), std::optional<qint16>(qint16(c.second)));
    for (const char *bad : {"", " ", "abc", "1e3", "-10000", "32768", "99999", "1,2,3"})
        QVERIFY2(!quantity(bad), bad);
    QCOMPARE(quantityColumn(3), QString("    3"));
    QCOMPARE(quantityColumn(-9999), QString("-9999"));
    QCOMPARE(quantityColumn(32767), QString("32767"));

    const QString eq = equipmentListLine("ALFA", "TENDA", "L", 3);
    QCOMPARE(equipmentLine(eq, 2), "ATTR      2   " + eq);
    const QString ve = vehicleListLine("ALFA", "JEEP", "A");
    QCOMPARE(vehicleLine(ve), "AUTO      1   " + ve);
    const QString as = associationListLine("ALFA", 10);
    QCOMPARE(volunteersLine(as, 4), "VOL.      4   " + QString("ALFA").leftJustified(50));
    QCOMPARE(namedVolunteerLine(as, "LUCA BIANCHI"),
             "VOL>      0   " + QString("ALFA").leftJustified(50) + " LUCA BIANCHI");
    // Columns 1-4, 7-12, 15-64 and 65-114 make the record.
    QCOMPARE(activities::resourceFields("7", equipmentLine(eq, 2)),
             QStringList({"7", "ATTR", "    2 ", QString("ALFA").leftJustified(50),
                          QString("TENDA").leftJustified(50), "O"}));
    QCOMPARE(activities::resourceFields("7", namedVolunteerLine(as, "LUCA BIANCHI")).at(4),
             QString(" LUCA BIANCHI").leftJustified(50));
}

void TestResourceOperations::onePassRegistrationGivesThePerLineBytes()
{
    using namespace resources;
    // The lines the resource windows make, in the order a user adds them,
    // among the lines of other activities (one damaged, one typed).
    const QStringList lines{
        namedVolunteerLine(associationListLine("BETA", 5), "ANNA VERDI"),
        volunteersLine(associationListLine("BETA", 5), 2),
        equipmentLine(equipmentListLine("ROSSI", "TENDA", "L", 3), 3),
        vehicleLine(vehicleListLine("ALFA", "JEEP", "L")),
        equipmentLine(equipmentListLine("BIANCHI", "TENDA", "L", 3), -2),
        equipmentLine(equipmentListLine("BIANCHI", "POMPA", "L", 9), 1),
        vehicleLine(vehicleListLine("ALFA", "JEEP", "L")),
        namedVolunteerLine(associationListLine("BETA", 5), "ANNA VERDI"),
        namedVolunteerLine(associationListLine("ALFA", 5), "ZENO ZETA"),
    };
    const QByteArray existing = crlf({
        copied("6", "ATTR", 1, "ZETA", "TENDA", "O"),
        stored("7", "ATTR", 3, "ROSSI", "TENDA", "L"),
        " 7 ,AUTO,x,ALFA,JEEP,O,",
        "7,AUTO,bad",
        copied("7", "VOL.", 1, "ALFA", "", "O"),
        stored("9", "AUTO", 1, "ALFA", "CAMION", "O"),
    });
    for (const QByteArray &start : {QByteArray(), existing}) {
        TestOffice perLine, onePass;
        perLine.write(File::Risorse, start);
        onePass.write(File::Risorse, start);
        for (const QString &l : lines)
            QVERIFY(activities::insertResourceLine(perLine.ctx.folder, "7", 7, l).done());
        QVERIFY(activities::insertResourceLines(onePass.ctx.folder, "7", 7, lines).done());
        QCOMPARE(onePass.read(File::Risorse), perLine.read(File::Risorse));
        QCOMPARE(onePass.read(File::RisorseWrk), perLine.read(File::RisorseWrk));
    }
}

void TestResourceOperations::giveBackByTypeAndItsLimits()
{
    using namespace resources;
    TestOffice o;
    o.write(File::Attrezzature, crlf({"ALFA,TENDA,L,32767", "ALFA,POMPA,A, 0 "}));
    o.write(File::Associazioni, crlf({"ALFA,,,,,,,,32767,1"}));
    o.write(File::Automezzi, crlf({"ALFA,JEEP,,,,,,,A"}));
    const QByteArray equipment = o.read(File::Attrezzature);
    const QByteArray associations = o.read(File::Associazioni);

    // Past 32767: refused, the archive as it was.
    const Outcome tooMany =
        giveBackLine(o.ctx.folder, equipmentLine(equipmentListLine("ALFA", "TENDA", "L", 1), 1));
    QVERIFY(!tooMany.ok);
    QVERIFY(tooMany.message.contains("32767"));
    QCOMPARE(o.read(File::Attrezzature), equipment);
    const Outcome tooManyVolunteers =
        giveBackLine(o.ctx.folder, volunteersLine(associationListLine("ALFA", 1), 1));
    QVERIFY(!tooManyVolunteers.ok);
    QCOMPARE(o.read(File::Associazioni), associations);

    // Back to 0 pieces stays "A"; named volunteers and unknown types give
    // nothing back and write nothing.
    QVERIFY(giveBackLine(o.ctx.folder, equipmentLine(equipmentListLine("ALFA", "POMPA", "A", 0), 0)).ok);
    QCOMPARE(o.read(File::Attrezzature), crlf({"ALFA,TENDA,L, 32767 ", "ALFA,POMPA,A, 0 "}));
    QVERIFY(giveBackLine(o.ctx.folder, equipmentLine(equipmentListLine("ALFA", "POMPA", "A", 0), 2)).ok);
    QCOMPARE(o.read(File::Attrezzature), crlf({"ALFA,TENDA,L, 32767 ", "ALFA,POMPA,L, 2 "}));
    QVERIFY(giveBackLine(o.ctx.folder, namedVolunteerLine(associationListLine("ALFA", 1), "X Y")).ok);
    QVERIFY(giveBackLine(o.ctx.folder, "XXXX      1   ALFA").ok);
    QCOMPARE(o.read(File::Associazioni), associations);

    // At release the record's fields stand in for the line's columns.
    const archive::Record r = archive::parseRecord(
        stored("7", "AUTO", 1, "ALFA", "JEEP", "O"), activities::resourceFormat());
    QVERIFY(giveBackRecord(o.ctx.folder, r).ok);
    QCOMPARE(o.read(File::Automezzi), crlf({"ALFA,JEEP,,,,,,,L"}));
    const archive::Record vol = archive::parseRecord(" 7 ,VOL.,5,ALFA,,O", activities::resourceFormat());
    o.write(File::Associazioni, crlf({"ALFA,,,,,,,,3,1"}));
    QVERIFY(giveBackRecord(o.ctx.folder, vol).ok);
    QCOMPARE(o.read(File::Associazioni), crlf({"ALFA,,,,,,,, 8 , 1 "}));
}

QTEST_MAIN(TestResourceOperations)
#include "tst_resource_operations.moc"
