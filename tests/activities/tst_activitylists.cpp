#include "testkit.h"

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

QByteArray resource(const QByteArray &n, const QByteArray &tipo, const QByteArray &qty,
                    const QByteArray &assoc, const QByteArray &descr, const QByteArray &state)
{
    return n + "," + tipo + "," + qty.rightJustified(5, ' ') + " ," + assoc.leftJustified(50, ' ')
           + "," + descr.leftJustified(50, ' ') + "," + state;
}

QString spaces(int n) { return QString(n, QLatin1Char(' ')); }

} // namespace

class TestActivityLists : public QObject {
    Q_OBJECT
private slots:
    void chronologicalBlocksLineForLine();
    void emptyArchives();
    void resourceGroupsAsThePlainReadingFindsThem();
    void shortListsAndSearch();
};

void TestActivityLists::chronologicalBlocksLineForLine()
{
    TestOffice office;
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
        resource(" 7 ", "ATTR", "3", "BIANCHI", "TENDA", "L"),
        resource("7", "VOL.", "12", QByteArray(45, 'V'), "", "L"),
    }));
    const QStringList lines = activities::chronologicalList(
        office.path(File::Attivita), office.path(File::Risorse), QStringLiteral("SISMA 2002"));
    const QString rule(81, QLatin1Char('_'));
    const QStringList expected{
        spaces(15) + "SISMA 2002 ELENCO DELLE ATTIVITA' IN ORDINE CRONOLOGICO",
        "",
        "     7  Data ric.    05/03/2002  ora ric.  14.30  STATO:CHIUSA",
        "        Data iniz.   05/03/2002  ora iniz. 15.00",
        "        Data fine    06/03/2002  ora fine  10.00",
        "        Richiedente: ROSSI",
        QString::fromUtf8("        Località   : ROMA"),
        QString::fromUtf8("        Attività   : INCENDIO"),
        "        Note       : " + QString(50, QLatin1Char('A')),
        "        Risorse    : ATTR 3 " + QString("BIANCHI").leftJustified(40) + " "
            + QString("TENDA").leftJustified(40),
        "        Risorse    : VOL. 12 " + QString(40, QLatin1Char('V')) + " " + spaces(40),
        rule,
        " 12345  Data ric.    06/03/2002  ora ric.  08.00  STATO:APERTA",
        "        Data iniz.     ora iniz. ",
        "        Data fine      ora fine  ",
        "        Richiedente: BIANCHI",
        QString::fromUtf8("        Località   : PISA"),
        QString::fromUtf8("        Attività   : FRANA"),
        "        Note       : " + QString(50, QLatin1Char('N')),
        spaces(21) + "X",
        rule,
        "    -3  Data ric.    07/03/2002  ora ric.  09.00  STATO:ANNULLATA",
        "        Data iniz.     ora iniz. ",
        "        Data fine      ora fine  ",
        "        Richiedente: NERI",
        QString::fromUtf8("        Località   : LUCCA"),
        QString::fromUtf8("        Attività   : ALLUVIONE"),
        "        Note       : " + QString(50, QLatin1Char('M')),
        spaces(21) + QString(50, QLatin1Char('M')),
        rule,
        "     9  Data ric.    08/03/2002  ora ric.  10.00  STATO:",
        "        Data iniz.     ora iniz. ",
        "        Data fine      ora fine  ",
        "        Richiedente: VERDI",
        QString::fromUtf8("        Località   : SIENA"),
        QString::fromUtf8("        Attività   : PROVA"),
        "        Note       : ",
        rule,
    };
    QCOMPARE(lines, expected);
}

void TestActivityLists::emptyArchives()
{
    TestOffice office;
    // Missing files read as empty.
    QCOMPARE(activities::chronologicalList(office.path(File::Attivita), office.path(File::Risorse),
                                           QString()),
             QStringList({spaces(15) + " ELENCO DELLE ATTIVITA' IN ORDINE CRONOLOGICO", ""}));
    QCOMPARE(activities::shortList(office.path(File::Attivita), activities::ShortFilter::All),
             QStringList());
    office.write(File::Attivita, "");
    QCOMPARE(activities::searchByType(office.path(File::Attivita), QString()), QStringList());
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
        resource("9", "AUTO", "1", "ZETA", "FURGONE", "O"),
        resource("5", "ATTR", "2", "ALFA", "GENERATORE", "O"),
        "x5,ATTR,    1 ,ROTTA,RIGA,O",
        resource("5", "AUTO", "1", "ALFA", "JEEP", "O"),
        resource("4", "ATTR", "1", "BETA", "POMPA", "O"),
        resource("5", "VOL.", "3", "ALFA", "", "O"),
    }));
    const QStringList lines = activities::chronologicalList(
        office.path(File::Attivita), office.path(File::Risorse), QStringLiteral("E"));
    QCOMPARE(lines, plainReading(office.path(File::Attivita), office.path(File::Risorse), "E"));
    QStringList of5;
    for (const QString &l : lines)
        if (l.startsWith("        Risorse")) of5 << l.mid(21, 12);
    QCOMPARE(of5, QStringList({"ATTR 1 BETA ", "ATTR 2 ALFA ", "AUTO 1 ALFA "}));
    QCOMPARE(lines.at(2 + 7 + 1 + 1 + 7 + 2), activities::blockRule()); // 5's block ends
    QCOMPARE(lines.at(2 + 9 + 10 + 7), activities::blockRule()); // 6: notes, then the rule

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
            res << resource(QByteArray::number(current), "ATTR", QByteArray::number(i), "A", "D", "O");
        }
        if (round % 2) std::sort(res.begin(), res.end());
        office.write(File::Attivita, crlf(acts));
        office.write(File::Risorse, crlf(res));
        QCOMPARE(activities::chronologicalList(office.path(File::Attivita),
                                               office.path(File::Risorse), "E"),
                 plainReading(office.path(File::Attivita), office.path(File::Risorse), "E"));
    }
}

void TestActivityLists::shortListsAndSearch()
{
    TestOffice office;
    office.write(File::Attivita, crlf({
        "3,01/02/2003,08.00,,,,,INCENDIO BOSCHIVO,ROMA,A,,A",
        " 5 ,02/02/2003,09.00,,,,,ALLUVIONE,PISA,B,,C",
        "rotto,02/02/2003,09.00,,,,,INCENDIO,PISA,B,,C",
        "12345,03/02/2003,10.00,,,,,,LUCCA,C,,S",
        "-32768,04/02/2003,11.00,,,,,INCENDIO,SIENA,D,,S",
    }));
    const QString att = office.path(File::Attivita);
    using activities::ShortFilter;
    QCOMPARE(activities::shortList(att, ShortFilter::All),
             QStringList({"     3 01/02/2003 08.00 ROMA INCENDIO BOSCHIVO",
                          "     5 02/02/2003 09.00 PISA ALLUVIONE", " 12345 03/02/2003 10.00 LUCCA ",
                          "-32768 04/02/2003 11.00 SIENA INCENDIO"}));
    QCOMPARE(activities::shortList(att, ShortFilter::Closed),
             QStringList({"     5 02/02/2003 09.00 PISA ALLUVIONE"}));
    QCOMPARE(activities::shortList(att, ShortFilter::Cancelled),
             QStringList({" 12345 03/02/2003 10.00 LUCCA ", "-32768 04/02/2003 11.00 SIENA INCENDIO"}));
    // Typed text in capitals, found anywhere in the type, whatever the state.
    QCOMPARE(activities::searchByType(att, "cendio"),
             QStringList({"     3 01/02/2003 08.00 ROMA INCENDIO BOSCHIVO",
                          "-32768 04/02/2003 11.00 SIENA INCENDIO"}));
    // An empty text finds every activity with a type, not the one without.
    QCOMPARE(activities::searchByType(att, "").size(), 3);
    QCOMPARE(activities::searchByType(att, "XYZ"), QStringList());

    QCOMPARE(activities::protocolOf("     7 01/01/2000"), QString("7"));
    QCOMPARE(activities::protocolOf("-32768 01/01/2000"), QString("-32768"));
    QCOMPARE(activities::protocolOf(" 12345"), QString("12345"));
}

QTEST_MAIN(TestActivityLists)
#include "tst_activitylists.moc"
