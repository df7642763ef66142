#include "testkit.h"

#include "resourcetext.h"

#include "activities/records.h"

#include <QTest>

using archive::File;

class TestResourceLines : public QObject {
    Q_OBJECT
private slots:
    void onePassGivesTheBytesOfOnePassPerLine();
    void linesCarryTheirState();
};

void TestResourceLines::onePassGivesTheBytesOfOnePassPerLine()
{
    // Activity 7 between 6 and 8, with lines of every type, typed and
    // number forms, an empty line, damaged lines inside and around the group,
    // and new lines equal in key to stored ones and to each other.
    const QByteArray archive = crlf({
        stored(" 6 ", "ATTR", 2, "ROSSI", "TENDA", "O"),
        "garbage line, not a record",
        stored("7", "ATTR", 1, "BIANCHI", "POMPA", "O"),
        stored(" 7 ", "ATTR", 4, "ROSSI", "TENDA", "O"),
        "",
        "x7,AUTO,    1 ,ROTTO,ROTTO,O",
        stored(" 7 ", "AUTO", 1, "VERDI", "JEEP", "L"),
        stored(" 7 ", "VOL.", 3, "VERDI", "", "O"),
        stored(" 7 ", "VOL>", 0, "VERDI", " MARIO ROSSI", "O"),
        "99999,ATTR,    1 ,FUORI,RANGE,O",
        stored(" 8 ", "ATTR", 1, "AAA", "BBB", "O"),
    });
    const QStringList lines{
        listLine("ATTR", 3, "ROSSI", "TENDA"),      // equal key: before the stored one
        listLine("ATTR", 3, "ROSSI", "TENDA"),      // equal to the previous new line
        listLine("VOL>", 0, "VERDI", " ANNA BIANCHI"),
        listLine("AUTO", 1, "ALFA", "FURGONE"),
        listLine("ATTR", 1, "BIANCHI", "POMPA") + "   oltre la colonna 114",
        listLine("VOL.", 2, "ZETA", ""),
        listLine("ATTR", 9, "", ""),
    };
    const QStringList states{"O", "L", "O", "L", "O", "O", "L"};

    for (const QByteArray &start : {archive, QByteArray(), crlf({stored("3", "ATTR", 1, "A", "B", "O")}),
                                   crlf({stored("9", "ATTR", 1, "A", "B", "O"), "rotta"})}) {
        TestFolder single, onePass;
        single.write(File::Risorse, start);
        onePass.write(File::Risorse, start);
        for (int i = 0; i < lines.size(); ++i)
            QVERIFY(activities::insertResourceLine(single.ctx.folder, "7", 7, lines.at(i), states.at(i))
                        .done());
        QVERIFY(activities::insertResourceLines(onePass.ctx.folder, "7", 7, lines, states).done());
        QCOMPARE(onePass.read(File::Risorse), single.read(File::Risorse));
    }

    // The order itself, on the realistic archive: by type, association and
    // description, a new line before an equal key, damaged lines where they
    // stood, the last line written in typed form and every other one copied.
    TestFolder office;
    office.write(File::Risorse, archive);
    QVERIFY(activities::insertResourceLines(office.ctx.folder, "7", 7, lines, states).done());
    QCOMPARE(office.read(File::Risorse), crlf({
        copied("6", "ATTR", 2, "ROSSI", "TENDA", "O"),
        "garbage line, not a record",
        stored("7", "ATTR", 9, "", "", "L"),
        copied("7", "ATTR", 1, "BIANCHI", "POMPA", "O"),
        copied("7", "ATTR", 1, "BIANCHI", "POMPA", "O"),
        copied("7", "ATTR", 3, "ROSSI", "TENDA", "L"),
        copied("7", "ATTR", 3, "ROSSI", "TENDA", "O"),
        copied("7", "ATTR", 4, "ROSSI", "TENDA", "O"),
        "",
        "x7,AUTO,    1 ,ROTTO,ROTTO,O",
        copied("7", "AUTO", 1, "ALFA", "FURGONE", "L"),
        copied("7", "AUTO", 1, "VERDI", "JEEP", "L"),
        copied("7", "VOL.", 3, "VERDI", "", "O"),
        copied("7", "VOL.", 2, "ZETA", "", "O"),
        copied("7", "VOL>", 0, "VERDI", " ANNA BIANCHI", "O"),
        copied("7", "VOL>", 0, "VERDI", " MARIO ROSSI", "O"),
        "99999,ATTR,    1 ,FUORI,RANGE,O",
        copied("8", "ATTR", 1, "AAA", "BBB", "O"),
    }));
}

void TestResourceLines::linesCarryTheirState()
{
    TestFolder office;
    QVERIFY(activities::insertResourceLine(office.ctx.folder, "7", 7,
                                           listLine("ATTR", 3, "ROSSI", "TENDA"), "L")
                .done());
    QCOMPARE(office.read(File::Risorse), crlf({stored("7", "ATTR", 3, "ROSSI", "TENDA", "L")}));
    QVERIFY(activities::insertResourceLines(office.ctx.folder, "7", 7,
                                            {listLine("AUTO", 1, "ROSSI", "JEEP")})
                .done());
    QCOMPARE(office.read(File::Risorse), crlf({copied("7", "ATTR", 3, "ROSSI", "TENDA", "L"),
                                               stored("7", "AUTO", 1, "ROSSI", "JEEP", "O")}));
    // Both read back as the window lists them, whatever their form.
    QCOMPARE(activities::resourceLinesOf(office.path(File::Risorse), 7),
             QStringList({listLine("ATTR", 3, "ROSSI", "TENDA"), listLine("AUTO", 1, "ROSSI", "JEEP")}));
}

QTEST_MAIN(TestResourceLines)
#include "tst_resourcelines.moc"
