#include "testkit.h"

#include "associations/records.h"
#include "equipment/records.h"
#include "vehicles/records.h"

#include "archive/text.h"

#include <QFile>
#include <QTest>

using archive::File;
using registers::Outcome;

class TestAssociationRecords : public QObject {
    Q_OBJECT
private slots:
    void insertKeepsNameOrderAndNumberForms();
    void cleaningAndChecks();
    void modifyCarriesTheNewNameIntoEveryArchive();
    void modifyRefusesATakenName();
    void removeTakesEquipmentAndVehicles();
    void readersSkipDamagedLinesAndMatchNames();
    void volunteerCountChangesByColumnMatch();
};

namespace {

QStringList rec(const char *name, const char *num = "12")
{
    return associations::recordFields(associations::cleaned(
        {QString::fromUtf8(name), "VIA ROMA 1", "BORGO", "XX", "", "", "", "CAMPO 2",
         QString::fromLatin1(num)}));
}

} // namespace

void TestAssociationRecords::insertKeepsNameOrderAndNumberForms()
{
    TestOffice office;
    const auto &folder = office.ctx.folder;
    QVERIFY(associations::insert(folder, rec("GRUPPO ALFA")).done());
    QCOMPARE(office.read(File::Associazioni),
             QByteArray("GRUPPO ALFA,VIA ROMA 1,BORGO,XX,,,,CAMPO 2,12,12\r\n"));

    QVERIFY(associations::insert(folder, rec("ZETA", "-5")).done());
    QVERIFY(associations::insert(folder, rec("ALBA", "+3")).done());
    QVERIFY(associations::insert(folder, rec("MEDIO", "7")).done());
    QCOMPARE(office.read(File::Associazioni),
             crlf({"ALBA,VIA ROMA 1,BORGO,XX,,,,CAMPO 2, 3 , 3 ",
                   "GRUPPO ALFA,VIA ROMA 1,BORGO,XX,,,,CAMPO 2, 12 , 12 ",
                   "MEDIO,VIA ROMA 1,BORGO,XX,,,,CAMPO 2,7,7",
                   "ZETA,VIA ROMA 1,BORGO,XX,,,,CAMPO 2,-5 ,-5 "}));

    // By character code digits come before capitals.
    QVERIFY(associations::insert(folder, rec("1 GRUPPO")).done());
    QVERIFY(office.read(File::Associazioni).startsWith("1 GRUPPO,"));

    // A name already there: nothing changes, work file or not.
    const QByteArray before = office.read(File::Associazioni);
    QCOMPARE(associations::insert(folder, rec("MEDIO", "99")).status, Outcome::Duplicate);
    QCOMPARE(office.read(File::Associazioni), before);
}

void TestAssociationRecords::cleaningAndChecks()
{
    using associations::Input;
    const Input in = associations::cleaned(
        {QString::fromUtf8("Gruppo, \"Alfa\" Nord"), "via roma, 1", "bor\"go", "xx", "06\n123",
         "", "a@b.it", "campo", "12"});
    QCOMPARE(in.denominazione, QString("GRUPPO   ALFA  NORD"));
    QCOMPARE(in.indirizzo, QString("VIA ROMA  1"));
    QCOMPARE(in.comune, QString("BOR GO"));
    QCOMPARE(in.telefono, QString("06 123"));
    QCOMPARE(in.email, QString("A@B.IT"));
    QCOMPARE(in.numvol, QString("12"));
    // Blanks at the ends of the name are not kept by any reader.
    QCOMPARE(associations::cleaned({"  alfa ", "", "", "", "", "", "", "", ""}).denominazione,
             QString("ALFA"));

    auto checked = [](const char *name, const QString &num) {
        return associations::check(associations::cleaned(
            {QString::fromUtf8(name), "", "", "", "", "", "", "", num}));
    };
    QCOMPARE(checked("", "x"), QString("Manca denominazione."));
    QCOMPARE(checked("   ", "1"), QString("Manca denominazione."));
    const QString badNumber("Numero volontari dell'associazione errato.");
    for (const char *n : {"", "abc", "1.5", "12,5", "32768", "-32769", "1 2"})
        QCOMPARE(checked("A", QString::fromLatin1(n)), badNumber);
    for (const char *n : {"0", "32767", "-32768", " 7 "}) QCOMPARE(checked("A", n), QString());
    QVERIFY(checked("GRUPPO \xC5\x81\xC3\x93" "DZ", "1").contains("non può essere registrato"));
    QCOMPARE(checked("CAFF\xC3\x88", "1"), QString()); // È is in Windows-1252
}

void TestAssociationRecords::modifyCarriesTheNewNameIntoEveryArchive()
{
    TestOffice office;
    const auto &folder = office.ctx.folder;
    office.write(File::Associazioni, crlf({"ALFA,,,,,,,,3,3", "BETA,,,,,,,, 5 , 9 ", "GAMMA,,,,,,,,1,1"}));
    office.write(File::Automezzi, crlf({"ALFA,AMB 1,C,01/01/2026,10.00,,,,L",
                                        "BETA,AMB 2,C,01/01/2026,10.00,,,,A",
                                        "BETA,JEEP,,,,,,,L"}));
    office.write(File::Attrezzature, crlf({"BETA,TENDA,L,4", "GAMMA,PALA,L, 2 "}));
    office.write(File::Volontari,
                 QByteArray("BETA,MARIO,ROSSI,,,,,,,\r\n") + "ALFA , LUCA,BIANCHI,1,2,3,4,5,6,7\r\n"
                     + "\r\n" + "BETA,ANNA,VERDI,1,2,3,4,5,6,7,8,9\r\n"
                     + "BETA,J\xC3\xBCRGEN,\xC5\x81UK,,,,,,,\r\n");

    QVERIFY(associations::modify(folder, "BETA", rec("ZETA", "4")).done());
    // The record moves to its place; the others are copied in number form.
    QCOMPARE(office.read(File::Associazioni),
             crlf({"ALFA,,,,,,,, 3 , 3 ", "GAMMA,,,,,,,, 1 , 1 ",
                   "ZETA,VIA ROMA 1,BORGO,XX,,,,CAMPO 2,4,4"}));
    // Vehicles keep their place (no re-sorting).
    QCOMPARE(office.read(File::Automezzi), crlf({"ALFA,AMB 1,C,01/01/2026,10.00,,,,L",
                                                 "ZETA,AMB 2,C,01/01/2026,10.00,,,,A",
                                                 "ZETA,JEEP,,,,,,,L"}));
    QCOMPARE(office.read(File::Attrezzature), crlf({"ZETA,TENDA,L, 4 ", "GAMMA,PALA,L, 2 "}));
    // Volunteers: field 1 renamed, every other item kept, a UTF-8 line stays
    // UTF-8, a line of more items keeps them all, an empty line stays.
    QCOMPARE(office.read(File::Volontari),
             QByteArray("ZETA,MARIO,ROSSI,,,,,,,\r\n") + "ALFA,LUCA,BIANCHI,1,2,3,4,5,6,7\r\n"
                 + "\r\n" + "ZETA,ANNA,VERDI,1,2,3,4,5,6,7,8,9\r\n"
                 + "ZETA,J\xC3\xBCRGEN,\xC5\x81UK,,,,,,,\r\n");
    QVERIFY(QFile::exists(office.path("volontari.wrk")));

    // Same name: the record is rewritten in its place; nothing else is touched.
    const QByteArray vehicles = office.read(File::Automezzi);
    QFile::remove(office.path(File::Automezzi));
    QVERIFY(associations::modify(folder, "ALFA", rec("ALFA", "8")).done());
    QCOMPARE(office.read(File::Associazioni),
             crlf({"ALFA,VIA ROMA 1,BORGO,XX,,,,CAMPO 2,8,8", "GAMMA,,,,,,,, 1 , 1 ",
                   "ZETA,VIA ROMA 1,BORGO,XX,,,,CAMPO 2, 4 , 4 "}));
    QVERIFY(!office.exists(File::Automezzi));
    Q_UNUSED(vehicles);

    // Nothing named as the loaded association: the values are inserted.
    QVERIFY(associations::modify(folder, "NESSUNA", rec("BETA", "1")).done());
    QVERIFY(office.read(File::Associazioni).contains("\r\nBETA,VIA ROMA 1,BORGO,XX,,,,CAMPO 2,1,1\r\n"));

    // Without a volunteer archive, a rename does not create one.
    QFile::remove(office.path(File::Volontari));
    QVERIFY(associations::modify(folder, "BETA", rec("DELTA")).done());
    QVERIFY(!office.exists(File::Volontari));
}

void TestAssociationRecords::modifyRefusesATakenName()
{
    TestOffice office;
    office.write(File::Associazioni, crlf({"ALFA,,,,,,,,3,3", "BETA,,,,,,,,5,5"}));
    office.write(File::Automezzi, crlf({"ALFA,AMB,,,,,,,L"}));
    office.write(File::Attrezzature, crlf({"ALFA,TENDA,L,4"}));
    office.write(File::Volontari, crlf({"ALFA,MARIO,ROSSI,,,,,,,"}));
    const QByteArray a = office.read(File::Associazioni), v = office.read(File::Automezzi),
                     e = office.read(File::Attrezzature), p = office.read(File::Volontari);
    QCOMPARE(associations::modify(office.ctx.folder, "ALFA", rec("BETA")).status,
             Outcome::Duplicate);
    QCOMPARE(office.read(File::Associazioni), a);
    QCOMPARE(office.read(File::Automezzi), v);
    QCOMPARE(office.read(File::Attrezzature), e);
    QCOMPARE(office.read(File::Volontari), p);
    QVERIFY(!QFile::exists(office.path(File::AssociazioniWrk)));
}

void TestAssociationRecords::removeTakesEquipmentAndVehicles()
{
    TestOffice office;
    const auto &folder = office.ctx.folder;
    office.write(File::Associazioni, crlf({"ALFA,,,,,,,,3,3", "BETA,,,,,,,,5,5"}));
    office.write(File::Automezzi, crlf({"ALFA,AMB,,,,,,,L", "BETA,JEEP,,,,,,,L"}));
    office.write(File::Attrezzature, crlf({"ALFA,TENDA,L,4", "BETA,PALA,L,2", "BETA,ZAPPA,L,1"}));
    office.write(File::Volontari, crlf({"BETA,MARIO,ROSSI,,,,,,,"}));

    QVERIFY(equipment::anyOf(office.path(File::Attrezzature), "BETA"));
    QVERIFY(!equipment::anyOf(office.path(File::Attrezzature), "GAMMA"));
    QVERIFY(vehicles::anyOf(office.path(File::Automezzi), "BETA"));

    QVERIFY(associations::remove(folder, "BETA", "BETA").done());
    QCOMPARE(office.read(File::Associazioni), crlf({"ALFA,,,,,,,, 3 , 3 "}));
    QCOMPARE(office.read(File::Automezzi), crlf({"ALFA,AMB,,,,,,,L"}));
    QCOMPARE(office.read(File::Attrezzature), crlf({"ALFA,TENDA,L, 4 "}));
    QCOMPARE(office.read(File::Volontari), crlf({"BETA,MARIO,ROSSI,,,,,,,"}));

    // Nothing by that name: not found, nothing written.
    const QByteArray a = office.read(File::Associazioni), e = office.read(File::Attrezzature);
    QCOMPARE(associations::remove(folder, "BETA", "BETA").status, Outcome::NotFound);
    QCOMPARE(associations::remove(folder, "", "").status, Outcome::NotFound);
    QCOMPARE(office.read(File::Associazioni), a);
    QCOMPARE(office.read(File::Attrezzature), e);

    // With another text in the name field, the volunteers pass to it.
    office.write(File::Volontari, crlf({"ALFA,MARIO,ROSSI,,,,,,,"}));
    QVERIFY(associations::remove(folder, "ALFA", "OMEGA").done());
    QCOMPARE(office.read(File::Associazioni), QByteArray());
    QCOMPARE(office.read(File::Volontari), crlf({"OMEGA,MARIO,ROSSI,,,,,,,"}));
    QCOMPARE(office.read(File::Automezzi), QByteArray());
}

void TestAssociationRecords::readersSkipDamagedLinesAndMatchNames()
{
    TestOffice office;
    const QString path = office.path(File::Associazioni);
    office.write(File::Associazioni,
                 crlf({"CROCE ROSSA,,,,,,,,3,3", "CROCE ROSSA,,,,,,,,1,1", ",,,,,,,,0,0",
                       "BAD,,,,,,,,x,1", "MISERICORDIA,,,,,,,,7,7", "CROCE VERDE,,,,,,,,-2 ,-2 ",
                       "ANPAS ,via,,,,,,,40000,1"}));
    const auto all = associations::readAll(path);
    QCOMPARE(all.size(), 5);
    QCOMPARE(all.at(4).volontari, qint16(-2));
    QCOMPARE(associations::matchingNames(path, "cro"),
             QStringList({"CROCE ROSSA", "CROCE VERDE"}));
    QCOMPARE(associations::matchingNames(path, ""),
             QStringList({"CROCE ROSSA", "MISERICORDIA", "CROCE VERDE"}));
    QCOMPARE(associations::allNames(path),
             QStringList({"CROCE ROSSA", "CROCE ROSSA", "", "MISERICORDIA", "CROCE VERDE"}));
    QVERIFY(!associations::find(path, "BAD"));
    QCOMPARE(associations::find(path, "CROCE VERDE")->volontaritotali, qint16(-2));
    QCOMPARE(associations::findByColumn(path, text::fit("MISERICORDIA", 50) + " 7")->volontari,
             qint16(7));
    QVERIFY(!associations::findByColumn(path, "MISERICORDI"));
    QVERIFY(associations::readAll(office.path("nessuno.csv")).isEmpty());

    // A rewrite keeps the damaged lines verbatim.
    QVERIFY(associations::insert(office.ctx.folder, rec("ZZ")).done());
    const QByteArray out = office.read(File::Associazioni);
    QVERIFY(out.contains("\r\nBAD,,,,,,,,x,1\r\n"));
    QVERIFY(out.contains("\r\nANPAS ,via,,,,,,,40000,1\r\n"));
}

void TestAssociationRecords::volunteerCountChangesByColumnMatch()
{
    TestOffice office;
    const auto &folder = office.ctx.folder;
    office.write(File::Associazioni, crlf({"ALFA,,,,,,,,3,3", "BETA,,,,,,,,32760,5"}));
    bool matched = false;
    QVERIFY(associations::adjustVolunteers(folder, text::fit("ALFA", 50), -5, &matched).done());
    QVERIFY(matched);
    QCOMPARE(office.read(File::Associazioni), crlf({"ALFA,,,,,,,,-2 , 3 ", "BETA,,,,,,,, 32760 , 5 "}));
    const QByteArray before = office.read(File::Associazioni);
    QCOMPARE(associations::adjustVolunteers(folder, "BETA", 8, &matched).status,
             Outcome::OutOfRange);
    QCOMPARE(office.read(File::Associazioni), before);
    QVERIFY(associations::adjustVolunteers(folder, "GAMMA", 1, &matched).done());
    QVERIFY(!matched);
}

QTEST_MAIN(TestAssociationRecords)
#include "tst_association_records.moc"
