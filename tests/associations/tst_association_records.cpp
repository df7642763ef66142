// The association records below the windows: the checks, and the edge cases
// of the cascades that the window tests (tst_formass) do not reach: volunteer
// lines in every shape, a rename to the same name, a missing volunteer
// archive, the volunteers passing to another name on delete. The volunteer
// counts an activity takes and gives back are checked through the resource
// windows (tests/resources).
#include "testkit.h"

#include "associations/records.h"

#include <QFile>
#include <QTest>

using archive::File;
using registers::Outcome;

class TestAssociationRecords : public QObject {
    Q_OBJECT
private slots:
    void cleaningAndChecks();
    void modifyCarriesTheNewNameIntoEveryArchive();
    void removeLeavesOrPassesTheVolunteers();
};

namespace {

QStringList rec(const char *name, const char *num = "12")
{
    return associations::recordFields(associations::cleaned(
        {QString::fromUtf8(name), "VIA ROMA 1", "BORGO", "XX", "", "", "", "CAMPO 2",
         QString::fromLatin1(num)}));
}

} // namespace

void TestAssociationRecords::cleaningAndChecks()
{
    const associations::Input in = associations::cleaned(
        {"  alfa ", "via", "bor\"go", "xx", "06\n123", "", "a@b.it", "campo", "12"});
    // Blanks at the ends of the name are not kept by any reader.
    QCOMPARE(in.denominazione, QString("ALFA"));
    QCOMPARE(in.comune, QString("BOR GO"));
    QCOMPARE(in.telefono, QString("06 123"));
    QCOMPARE(in.email, QString("A@B.IT"));

    auto checked = [](const char *name, const char *num) {
        return associations::check(associations::cleaned(
            {QString::fromUtf8(name), "", "", "", "", "", "", "", QString::fromLatin1(num)}));
    };
    QCOMPARE(checked("   ", "1"), QString("Manca denominazione."));
    for (const char *n : {"", "abc", "12,5", "32768", "-32769", "1 2"})
        QCOMPARE(checked("A", n), QString("Numero volontari dell'associazione errato."));
    for (const char *n : {"0", "32767", "-32768", " 7 "}) QCOMPARE(checked("A", n), QString());
    QCOMPARE(checked("CAFF\xC3\x88", "1"), QString()); // È is in Windows-1252
}

void TestAssociationRecords::modifyCarriesTheNewNameIntoEveryArchive()
{
    TestOffice office;
    const auto &folder = office.ctx.folder;
    office.write(File::Associazioni, crlf({"ALFA,,,,,,,,3,3", "BETA,,,,,,,, 5 , 9 ", "GAMMA,,,,,,,,1,1"}));
    office.write(File::Automezzi, crlf({"BETA,AMB 2,C,01/01/2026,10.00,,,,A", "ALFA,JEEP,,,,,,,L"}));
    office.write(File::Attrezzature, crlf({"BETA,TENDA,L,4", "GAMMA,PALA,L, 2 "}));
    office.write(File::Volontari,
                 QByteArray("BETA,MARIO,ROSSI,,,,,,,\r\n") + "ALFA , LUCA,BIANCHI,1,2,3,4,5,6,7\r\n"
                     + "\r\n" + "BETA,ANNA,VERDI,1,2,3,4,5,6,7,8,9\r\n"
                     + "BETA,J\xC3\xBCRGEN,\xC5\x81UK,,,,,,,\r\n");

    QVERIFY(associations::modify(folder, "BETA", rec("ZETA", "4")).done());
    QCOMPARE(office.read(File::Associazioni),
             crlf({"ALFA,,,,,,,, 3 , 3 ", "GAMMA,,,,,,,, 1 , 1 ",
                   "ZETA,VIA ROMA 1,BORGO,XX,,,,CAMPO 2,4,4"}));
    QCOMPARE(office.read(File::Automezzi),
             crlf({"ZETA,AMB 2,C,01/01/2026,10.00,,,,A", "ALFA,JEEP,,,,,,,L"}));
    QCOMPARE(office.read(File::Attrezzature), crlf({"ZETA,TENDA,L, 4 ", "GAMMA,PALA,L, 2 "}));
    // Volunteers: field 1 renamed, every other item kept, a UTF-8 line stays
    // UTF-8, a line of more items keeps them all, an empty line stays.
    QCOMPARE(office.read(File::Volontari),
             QByteArray("ZETA,MARIO,ROSSI,,,,,,,\r\n") + "ALFA,LUCA,BIANCHI,1,2,3,4,5,6,7\r\n"
                 + "\r\n" + "ZETA,ANNA,VERDI,1,2,3,4,5,6,7,8,9\r\n"
                 + "ZETA,J\xC3\xBCRGEN,\xC5\x81UK,,,,,,,\r\n");
    QVERIFY(QFile::exists(office.path("volontari.wrk")));

    // A name another association has: refused before any file is touched.
    QByteArray before[4];
    const File files[] = {File::Associazioni, File::Automezzi, File::Attrezzature, File::Volontari};
    for (int i = 0; i < 4; ++i) before[i] = office.read(files[i]);
    QCOMPARE(associations::modify(folder, "ALFA", rec("GAMMA")).status, Outcome::Duplicate);
    for (int i = 0; i < 4; ++i) QCOMPARE(office.read(files[i]), before[i]);

    // Same name: the record is rewritten in its place; nothing else is touched.
    QFile::remove(office.path(File::Automezzi));
    QVERIFY(associations::modify(folder, "ALFA", rec("ALFA", "8")).done());
    QCOMPARE(office.read(File::Associazioni),
             crlf({"ALFA,VIA ROMA 1,BORGO,XX,,,,CAMPO 2,8,8", "GAMMA,,,,,,,, 1 , 1 ",
                   "ZETA,VIA ROMA 1,BORGO,XX,,,,CAMPO 2, 4 , 4 "}));
    QVERIFY(!office.exists(File::Automezzi));

    // Without a volunteer archive, a rename does not create one.
    QFile::remove(office.path(File::Volontari));
    QVERIFY(associations::modify(folder, "GAMMA", rec("DELTA")).done());
    QVERIFY(!office.exists(File::Volontari));
}

void TestAssociationRecords::removeLeavesOrPassesTheVolunteers()
{
    TestOffice office;
    const auto &folder = office.ctx.folder;
    office.write(File::Associazioni, crlf({"ALFA,,,,,,,,3,3", "BETA,,,,,,,,5,5"}));
    office.write(File::Volontari, crlf({"BETA,MARIO,ROSSI,,,,,,,", "ALFA,ANNA,NERI,,,,,,,"}));
    QCOMPARE(associations::remove(folder, "", "").status, Outcome::NotFound);

    // The name field as loaded: the volunteers stay as they are.
    QVERIFY(associations::remove(folder, "BETA", "BETA").done());
    QCOMPARE(office.read(File::Associazioni), crlf({"ALFA,,,,,,,, 3 , 3 "}));
    QCOMPARE(office.read(File::Volontari), crlf({"BETA,MARIO,ROSSI,,,,,,,", "ALFA,ANNA,NERI,,,,,,,"}));
    // Another text in the name field: the volunteers pass to it.
    QVERIFY(associations::remove(folder, "ALFA", "OMEGA").done());
    QCOMPARE(office.read(File::Associazioni), QByteArray());
    QCOMPARE(office.read(File::Volontari), crlf({"BETA,MARIO,ROSSI,,,,,,,", "OMEGA,ANNA,NERI,,,,,,,"}));
}

QTEST_MAIN(TestAssociationRecords)
#include "tst_association_records.moc"
