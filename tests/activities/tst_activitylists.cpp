#include "office.h"
#include "resourcetext.h"

#include "activities/lists.h"
#include "activities/records.h"
#include "archive/rewrite.h"

#include <QRandomGenerator>
#include <QTest>

using archive::File;
using archive::Record;

namespace {

// The list as read the plain way: for every activity, risorse.csv from its
// start, skipping other numbers until the first match, stopping after the
// first run.
QStringList plainReading(const QString &att, const QString &ris, const QString &name)
{
    QStringList out{activities::chronologicalHeading(name), QString()};
    archive::readRecords(att, activities::activityFormat(), [&](const Record &a) {
        out << activities::activityBlock(a);
        bool matched = false;
        archive::readRecords(ris, activities::resourceFormat(), [&](const Record &r) {
            if (r.number(activities::RNumProt) == a.number(activities::NumProt)) {
                matched = true;
                out << activities::chronologicalResourceLine(r);
                return true;
            }
            return !matched;
        });
        out << activities::blockRule();
        return true;
    });
    return out;
}

QString spaces(int n) { return QString(n, QLatin1Char(' ')); }

} // namespace

class TestActivityLists : public QObject {
    Q_OBJECT
private slots:
    void chronologicalBlocksLineForLine();
    void resourceGroupsAsThePlainReadingFindsThem();
};

void TestActivityLists::chronologicalBlocksLineForLine()
{
    TestOffice office;
    // Missing archives and no emergency name: the heading alone.
    QCOMPARE(activities::chronologicalList(office.path(File::Attivita), office.path(File::Risorse), QString()),
             QStringList({spaces(15) + " ELENCO DELLE ATTIVITA' IN ORDINE CRONOLOGICO", ""}));

    const QByteArray note51 = QByteArray(50, 'N') + "X";
    const QByteArray note130 = QByteArray(100, 'M') + QByteArray(30, 'Z');
    office.write(File::Attivita, crlf({
        " 7 ,05/03/2002,14.30,05/03/2002,15.00,06/03/2002,10.00,INCENDIO,ROMA,ROSSI,"
            + QByteArray(50, 'A') + ",C",
        "12345,06/03/2002,08.00,,,,,FRANA,PISA,BIANCHI," + note51 + ",A",
        "-3,07/03/2002,09.00,,,,,ALLUVIONE,LUCCA,NERI," + note130 + ",S",
        "9,08/03/2002,10.00,,,,,PROVA,SIENA,VERDI,,Q",
    }));
    office.write(File::Risorse, crlf({
        stored(" 7 ", "ATTR", 3, "BIANCHI", "TENDA", "L"),
        stored("7", "VOL.", 12, QByteArray(45, 'V'), "", "L"),
    }));
    const QStringList lines = activities::chronologicalList(
        office.path(File::Attivita), office.path(File::Risorse), QStringLiteral("SISMA 2002"));
    const QString rule(81, QLatin1Char('_'));
    // The lines every block has after its first: dates, requester, place, type.
    auto middle = [](const QString &ric, const QString &loc, const QString &tipo) {
        return QStringList{"        Data iniz.     ora iniz. ", "        Data fine      ora fine  ",
                           "        Richiedente: " + ric, QString::fromUtf8("        Località   : ") + loc,
                           QString::fromUtf8("        Attività   : ") + tipo};
    };
    const QStringList expected =
        QStringList{spaces(15) + "SISMA 2002 ELENCO DELLE ATTIVITA' IN ORDINE CRONOLOGICO", "",
                    "     7  Data ric.    05/03/2002  ora ric.  14.30  STATO:CHIUSA",
                    "        Data iniz.   05/03/2002  ora iniz. 15.00",
                    "        Data fine    06/03/2002  ora fine  10.00", "        Richiedente: ROSSI",
                    QString::fromUtf8("        Località   : ROMA"),
                    QString::fromUtf8("        Attività   : INCENDIO"),
                    "        Note       : " + QString(50, QLatin1Char('A')),
                    "        Risorse    : ATTR 3 " + QString("BIANCHI").leftJustified(40) + " "
                        + QString("TENDA").leftJustified(40),
                    "        Risorse    : VOL. 12 " + QString(40, QLatin1Char('V')) + " " + spaces(40), rule,
                    " 12345  Data ric.    06/03/2002  ora ric.  08.00  STATO:APERTA"}
        + middle("BIANCHI", "PISA", "FRANA")
        + QStringList{"        Note       : " + QString(50, QLatin1Char('N')), spaces(21) + "X", rule,
                      "    -3  Data ric.    07/03/2002  ora ric.  09.00  STATO:ANNULLATA"}
        + middle("NERI", "LUCCA", "ALLUVIONE")
        + QStringList{"        Note       : " + QString(50, QLatin1Char('M')),
                      spaces(21) + QString(50, QLatin1Char('M')), rule,
                      "     9  Data ric.    08/03/2002  ora ric.  10.00  STATO:"}
        + middle("VERDI", "SIENA", "PROVA") + QStringList{"        Note       : ", rule};
    QCOMPARE(lines, expected);
}

void TestActivityLists::resourceGroupsAsThePlainReadingFindsThem()
{
    TestOffice office;
    // Lines of another activity before the group are skipped; the reading
    // stops at the first line after the group, so the later line of 5 is not
    // shown; activity 6 has none; a damaged line inside a group is skipped.
    office.write(File::Attivita, crlf({"4,D,O,,,,,T,L,R,,A", "5,D,O,,,,,T,L,R,,A",
                                       "6,D,O,,,,,T,L,R,,A"}));
    office.write(File::Risorse, crlf({
        stored("9", "AUTO", 1, "ZETA", "FURGONE", "O"),
        stored("5", "ATTR", 2, "ALFA", "GENERATORE", "O"),
        "x5,ATTR,    1 ,ROTTA,RIGA,O",
        stored("5", "AUTO", 1, "ALFA", "JEEP", "O"),
        stored("4", "ATTR", 1, "BETA", "POMPA", "O"),
        stored("5", "VOL.", 3, "ALFA", "", "O"),
    }));
    const QStringList lines = activities::chronologicalList(
        office.path(File::Attivita), office.path(File::Risorse), QStringLiteral("E"));
    QCOMPARE(lines, plainReading(office.path(File::Attivita), office.path(File::Risorse), "E"));
    QStringList of5;
    for (const QString &l : lines)
        if (l.startsWith("        Risorse")) of5 << l.mid(21, 12);
    QCOMPARE(of5, QStringList({"ATTR 1 BETA ", "ATTR 2 ALFA ", "AUTO 1 ALFA "}));

    // Random archives, in order or not, with repeated numbers on both sides:
    // one pass gives what the plain reading gives.
    QRandomGenerator rng(4242);
    for (int round = 0; round < 40; ++round) {
        QList<QByteArray> acts, res;
        const int nActs = rng.bounded(0, 25);
        for (int i = 0; i < nActs; ++i)
            acts << QByteArray::number(rng.bounded(-3, 15)) + ",01/01/2020,10.00,,,,,T,L,R,,A";
        const int nRes = rng.bounded(0, 60);
        int current = rng.bounded(-3, 15);
        for (int i = 0; i < nRes; ++i) {
            if (rng.bounded(3) == 0) current = rng.bounded(-3, 15);
            if (rng.bounded(15) == 0) res << "rotta,riga";
            res << stored(QByteArray::number(current), "ATTR", i, "A", "D", "O");
        }
        if (round % 2) std::sort(res.begin(), res.end());
        office.write(File::Attivita, crlf(acts));
        office.write(File::Risorse, crlf(res));
        QCOMPARE(activities::chronologicalList(office.path(File::Attivita),
                                               office.path(File::Risorse), "E"),
                 plainReading(office.path(File::Attivita), office.path(File::Risorse), "E"));
    }
}

QTEST_MAIN(TestActivityLists)
#include "tst_activitylists.moc"
