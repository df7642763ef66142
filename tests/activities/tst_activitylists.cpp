// The activity lists: the chronological list as it is built from the two
// archives, and the window that shows the lists and picks an activity.
#include "listwindows.h"
#include "mainoffice.h"
#include "resourcetext.h"

#include "activities/formattivita.h"
#include "activities/formattlist.h"
#include "activities/lists.h"
#include "archive/rewrite.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>

using archive::File;
using archive::Record;
using listwin::click;
using listwin::list;

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

struct Office : MainOffice {
    Office()
    {
        ctx.g.nomeemergenza = QStringLiteral("SISMA");
        write(File::Attivita, crlf({
                                  "7,01/03/2025,08.00,01/03/2025,09.00,01/03/2025,18.00,INCENDIO,ROMA,ROSSI,,C",
                                  "12,02/03/2025,10.00,,,,,ALLUVIONE,PISA,BIANCHI,ARGINE,A",
                                  "12345,03/03/2025,11.00,,,,,incendio,LUCCA,NERI,,S",
                                  "-32768,04/03/2025,12.00,,,,,,SIENA,VERDI,,S", // no type
                              }));
        write(File::Risorse, crlf({"7,AUTO,    1 ,ALFA,JEEP,L", "12,VOL.,    4 ,BETA,,O"}));
        write(File::Associazioni, crlf({"ALFA,VIA A,,,,,,10"}));
    }

    Formattlist *open(const char *entry) { return fromMenu<Formattlist>(entry); }
    static QLineEdit *cerca(QWidget *w) { return w->findChild<QLineEdit *>("cerca"); }
};

const QString kShort7 = "     7 01/03/2025 08.00 ROMA INCENDIO";
const QString kShort12 = "    12 02/03/2025 10.00 PISA ALLUVIONE";
const QString kShort12345 = " 12345 03/03/2025 11.00 LUCCA incendio";
const QString kShortMin = "-32768 04/03/2025 12.00 SIENA ";
const QStringList kAll{kShort7, kShort12, kShort12345, kShortMin};

} // namespace

class TestActivityLists : public QObject {
    Q_OBJECT
private slots:
    void chronologicalBlocksLineForLine()
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

    // Random archives, in order or not, with repeated numbers on both sides,
    // damaged lines and activities without lines: one pass gives what the
    // plain reading gives.
    void resourceGroupsAsThePlainReadingFindsThem()
    {
        TestOffice office;
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

    void fiveModesFromTheMenu()
    {
        Office o;
        auto *w = o.open("mnattvgen");
        QCOMPARE(items(list(w)),
                 activities::chronologicalList(o.path(File::Attivita), o.path(File::Risorse), "SISMA"));
        w = o.open("mnattvchi");
        QCOMPARE(items(list(w)), QStringList({kShort7}));
        w = o.open("mnattvann");
        QCOMPARE(items(list(w)), QStringList({kShort12345, kShortMin}));
        // Picking an activity to modify leaves the activity mode untouched.
        o.ctx.g.modoatt = modes::Activity::RU;
        w = o.open("mnattamod");
        QCOMPARE(o.ctx.g.modoatt, modes::Activity::RU);
        QCOMPARE(items(list(w)), kAll);
        // Picking one to cancel prepares the activity window too.
        w = o.open("mnattaann");
        auto *activity = o.windows->existing<Formattivita>();
        QVERIFY(activity && !activity->isVisible());
        QCOMPARE(activity->windowTitle(), QString::fromUtf8("Attività - Annullamento"));
        QCOMPARE(activity->findChild<QPushButton *>("cmdregistra")->text(), QString("Annulla"));
        QCOMPARE(items(list(w)), kAll);
        // In no mode the list stays as it was; in a mode it is read again.
        o.write(File::Attivita, "");
        for (auto [mode, count] : {std::pair{modes::ActivityList::Unset, 4}, {modes::ActivityList::M, 0}}) {
            o.ctx.g.modoattlist = mode;
            o.activate(w);
            QCOMPARE(list(w)->count(), count);
        }
        click(w, "cmdlistesci");
        QVERIFY(!w->isVisible());
    }

    void searchByType()
    {
        Office o;
        auto *w = o.open("mnattvchi");
        // Every state, the text in capitals (the lower-case type is not
        // found); an empty text finds every activity with a type.
        for (auto [text, found] : {std::pair{"cend", QStringList{kShort7}},
                                   {"", QStringList{kShort7, kShort12, kShort12345}},
                                   {"ALLU", QStringList{kShort12}}}) {
            Office::cerca(w)->clear();
            QTest::keyClicks(Office::cerca(w), text);
            click(w, "cmdcerca");
            QCOMPARE(items(list(w)), found);
        }
        // Choosing a search result of mode V opens it for modification.
        listwin::choose(w, 0);
        QCOMPARE(o.ctx.g.protsel, QString("12"));
        QCOMPARE(o.ctx.g.modoatt, modes::Activity::M);
        // The chronological list keeps the text; the pick lists empty it.
        o.ctx.g.modoattlist = modes::ActivityList::G;
        o.activate(w);
        QCOMPARE(Office::cerca(w)->text(), QString("ALLU"));
        o.ctx.g.modoattlist = modes::ActivityList::Z;
        o.activate(w);
        QVERIFY(Office::cerca(w)->text().isEmpty());
    }

    void choosingALineOpensTheActivity()
    {
        Office o;
        // Mode G: nothing happens.
        auto *w = o.open("mnattvgen");
        o.ctx.g.protsel = "none";
        listwin::choose(w, 2);
        QCOMPARE(o.ctx.g.protsel, QString("none"));
        QVERIFY(!o.windows->existing<Formattivita>());
        // Mode Z: the cancelled activity, for modification.
        w = o.open("mnattvann");
        listwin::choose(w, 1);
        auto *activity = o.windows->existing<Formattivita>();
        QVERIFY(activity && activity->isVisible());
        QCOMPARE(o.ctx.g.protsel, QString("-32768"));
        QCOMPARE(o.ctx.g.modoatt, modes::Activity::M);
        if (o.ctx.lastActive != activity) o.activate(activity);
        QCOMPARE(activity->findChild<QLineEdit *>("stato")->text(), QString("Annullata"));
        QVERIFY(o.ctx.g.attchiusa);
    }

    void printsWhatTheListShows()
    {
        Office o;
        auto *w = o.open("mnattvgen");
        const QStringList shown = items(list(w));
        click(w, "cmdstampa");
        Office::cerca(w)->setText("frana");
        click(w, "cmdcerca");
        click(w, "cmdstampa");
        QCOMPARE(o.fake.printer.jobs.size(), 2);
        const auto &job = o.fake.printer.jobs.first();
        QCOMPARE(jobSetup(job), printSetup(10, Orientation::Landscape));
        QCOMPARE(job.lines, shown);
        QVERIFY(o.fake.printer.jobs.at(1).lines.isEmpty());
        QVERIFY(o.fake.prompts.shown.isEmpty());
    }
};

QTEST_MAIN(TestActivityLists)
#include "tst_activitylists.moc"
