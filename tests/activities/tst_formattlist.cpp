#include "mainoffice.h"

#include "activities/formattivita.h"
#include "activities/formattlist.h"
#include "activities/lists.h"
#include "app/formvelmo.h"
#include "listwindows.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using archive::File;
using listwin::click;
using listwin::list;

namespace {

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
    static QString field(QWidget *w, const char *name) { return w->findChild<QLineEdit *>(name)->text(); }
};

const QString kShort7 = "     7 01/03/2025 08.00 ROMA INCENDIO";
const QString kShort12 = "    12 02/03/2025 10.00 PISA ALLUVIONE";
const QString kShort12345 = " 12345 03/03/2025 11.00 LUCCA incendio";
const QString kShortMin = "-32768 04/03/2025 12.00 SIENA ";
const QStringList kAll{kShort7, kShort12, kShort12345, kShortMin};

} // namespace

class TestFormattlist : public QObject {
    Q_OBJECT
private slots:
    void fiveModesFromTheMenu();
    void searchByType();
    void choosingALineOpensTheActivity();
    void printsWhatTheListShows();
};

void TestFormattlist::fiveModesFromTheMenu()
{
    Office o;
    auto *w = o.open("mnattvgen");
    QCOMPARE(items(list(w)),
             activities::chronologicalList(o.path(File::Attivita), o.path(File::Risorse), "SISMA"));
    QCOMPARE(items(list(w)).first(),
             QString(15, ' ') + "SISMA ELENCO DELLE ATTIVITA' IN ORDINE CRONOLOGICO");
    QCOMPARE(items(list(w)).size(), 2 + 9 + 9 + 8 + 8);

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
    QCOMPARE(o.ctx.g.modoatt, modes::Activity::A);
    auto *activity = o.windows->existing<Formattivita>();
    QVERIFY(activity);
    QVERIFY(!activity->isVisible());
    QCOMPARE(activity->windowTitle(), QString::fromUtf8("Attività - Annullamento"));
    QCOMPARE(activity->findChild<QPushButton *>("cmdregistra")->text(), QString("Annulla"));
    QCOMPARE(items(list(w)), kAll);

    // In no mode the list stays as it was; an empty archive empties it.
    o.ctx.g.modoattlist = modes::ActivityList::Unset;
    o.activate(w);
    QCOMPARE(list(w)->count(), 4);
    o.write(File::Attivita, "");
    o.ctx.g.modoattlist = modes::ActivityList::M;
    o.activate(w);
    QCOMPARE(list(w)->count(), 0);
    o.ctx.g.modoattlist = modes::ActivityList::G;
    o.activate(w);
    QCOMPARE(list(w)->count(), 2);

    click(w, "cmdlistesci");
    QVERIFY(!w->isVisible());
}

void TestFormattlist::searchByType()
{
    Office o;
    auto *w = o.open("mnattvchi");
    QTest::keyClicks(Office::cerca(w), "cend");
    click(w, "cmdcerca");
    // Every state, the text in capitals (the lower-case type is not found).
    QCOMPARE(items(list(w)), QStringList({kShort7}));
    QCOMPARE(Office::cerca(w)->text(), QString("cend"));
    // An empty text finds every activity with a type.
    Office::cerca(w)->setText("");
    click(w, "cmdcerca");
    QCOMPARE(items(list(w)), QStringList({kShort7, kShort12, kShort12345}));
    Office::cerca(w)->setText("ALLU");
    click(w, "cmdcerca");
    QCOMPARE(items(list(w)), QStringList({kShort12}));
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

void TestFormattlist::choosingALineOpensTheActivity()
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
    QCOMPARE(Office::field(activity, "numprot"), QString("-32768"));
    QCOMPARE(Office::field(activity, "stato"), QString("Annullata"));
    QVERIFY(o.ctx.g.attchiusa);

    // Mode A: for cancellation.
    w = o.open("mnattaann");
    listwin::choose(w, 1);
    QCOMPARE(o.ctx.g.protsel, QString("12"));
    QCOMPARE(o.ctx.g.modoatt, modes::Activity::A);
    if (o.ctx.lastActive != activity) o.activate(activity);
    QCOMPARE(Office::field(activity, "stato"), QString("Aperta"));
    QCOMPARE(activity->resourceList()->count(), 1);
}

void TestFormattlist::printsWhatTheListShows()
{
    Office o;
    auto *w = o.open("mnattvgen");
    const QStringList shown = items(list(w));
    // A search result is printed as shown too.
    click(w, "cmdstampa");
    Office::cerca(w)->setText("frana");
    click(w, "cmdcerca");
    click(w, "cmdstampa");
    QCOMPARE(o.fake.printer.jobs.size(), 2);
    const auto &job = o.fake.printer.jobs.first();
    QCOMPARE(jobSetup(job), printSetup(10, Orientation::Landscape));
    QCOMPARE(job.lines, shown);
    QVERIFY(o.fake.printer.jobs.at(1).lines.isEmpty());
    QVERIFY(o.fake.busy.pushes > 0);
    QCOMPARE(o.fake.busy.depth, 0);
    QVERIFY(o.fake.prompts.shown.isEmpty());
}

QTEST_MAIN(TestFormattlist)
#include "tst_formattlist.moc"
