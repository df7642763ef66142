// The association records below the window: the checks and the edge cases of
// the changes tst_formass does not reach. Every bad character: tst_badinput.
#include "testkit.h"

#include "associations/records.h"

#include <QTest>

using archive::File;

class TestAssociationRecords : public QObject {
    Q_OBJECT
private slots:
    void checks()
    {
        // Blanks at the ends of the name are not kept by any reader.
        QCOMPARE(associations::cleaned({"  alfa ", "", "", "", "", "", "", "", "1"}).denominazione, QString("ALFA"));
        auto checked = [](const char *name, const char *num) {
            return associations::check(associations::cleaned(
                {QString::fromUtf8(name), "", "", "", "", "", "", "", QString::fromLatin1(num)}));
        };
        QCOMPARE(checked("   ", "1"), QString("Manca denominazione."));
        for (const char *n : {"", "12,5", "32768", "-32769", "1 2"})
            QVERIFY2(checked("A", n) == "Numero volontari dell'associazione errato.", n);
        for (const char *n : {"0", "32767", "-32768", " 7 "}) QVERIFY2(checked("A", n).isEmpty(), n);
        QCOMPARE(checked("CAFF\xC3\x88", "1"), QString()); // È is in Windows-1252
    }

    void changesTouchOnlyWhatIsThere()
    {
        TestFolder office;
        const auto &folder = office.ctx.folder;
        office.write(File::Associazioni, crlf({"ALFA,,,,,,,,3,3", "BETA,,,,,,,,5,5", "GAMMA,,,,,,,,1,1"}));
        // Same name: the record is rewritten in its place; no other archive
        // is created, and a rename creates no volunteer archive either.
        QVERIFY(associations::modify(folder, "ALFA", {"ALFA", "VIA ROMA 1", "", "", "", "", "", "", "8", "8"}).done());
        for (File f : {File::Automezzi, File::Attrezzature, File::Volontari}) QVERIFY(!office.exists(f));
        QVERIFY(associations::modify(folder, "GAMMA", {"DELTA", "", "", "", "", "", "", "", "1", "1"}).done());
        QVERIFY(!office.exists(File::Volontari));
        QCOMPARE(office.read(File::Associazioni), crlf({"ALFA,VIA ROMA 1,,,,,,, 8 , 8 ", "BETA,,,,,,,, 5 , 5 ", "DELTA,,,,,,,,1,1"}));

        office.write(File::Volontari, crlf({"BETA,MARIO,ROSSI,,,,,,,", "ALFA,ANNA,NERI,,,,,,,"}));
        // Removing with the name field as loaded: the volunteers stay as they are.
        QVERIFY(associations::remove(folder, "BETA", "BETA").done());
        QCOMPARE(office.read(File::Associazioni), crlf({"ALFA,VIA ROMA 1,,,,,,, 8 , 8 ", "DELTA,,,,,,,, 1 , 1 "}));
        QCOMPARE(office.read(File::Volontari), crlf({"BETA,MARIO,ROSSI,,,,,,,", "ALFA,ANNA,NERI,,,,,,,"}));
        // Another text in the name field: the volunteers pass to it.
        QVERIFY(associations::remove(folder, "ALFA", "OMEGA").done());
        QCOMPARE(office.read(File::Associazioni), crlf({"DELTA,,,,,,,, 1 , 1 "}));
        QCOMPARE(office.read(File::Volontari), crlf({"BETA,MARIO,ROSSI,,,,,,,", "OMEGA,ANNA,NERI,,,,,,,"}));
    }
};

QTEST_MAIN(TestAssociationRecords)
#include "tst_association_records.moc"
