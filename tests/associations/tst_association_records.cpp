// The association records below the windows: the checks, and the edge cases
// of the cascades that the window tests (tst_formass) do not reach: a rename
// to the same name, missing archives, the volunteers passing to another name
// on delete. The volunteer
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
    void modifyTouchesOnlyWhatIsThere();
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

void TestAssociationRecords::modifyTouchesOnlyWhatIsThere()
{
    TestFolder office;
    const auto &folder = office.ctx.folder;
    office.write(File::Associazioni, crlf({"ALFA,,,,,,,,3,3", "GAMMA,,,,,,,,1,1"}));
    // Same name: the record is rewritten in its place; nothing else is
    // touched, no archive created.
    QVERIFY(associations::modify(folder, "ALFA", rec("ALFA", "8")).done());
    QCOMPARE(office.read(File::Associazioni),
             crlf({"ALFA,VIA ROMA 1,BORGO,XX,,,,CAMPO 2,8,8", "GAMMA,,,,,,,, 1 , 1 "}));
    for (File f : {File::Automezzi, File::Attrezzature, File::Volontari}) QVERIFY(!office.exists(f));
    // Without a volunteer archive, a rename does not create one.
    QVERIFY(associations::modify(folder, "GAMMA", rec("DELTA")).done());
    QVERIFY(!office.exists(File::Volontari));
}

void TestAssociationRecords::removeLeavesOrPassesTheVolunteers()
{
    TestFolder office;
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
