#include "../activities/mainoffice.h"
#include "listwindows.h"
#include "widgets.h"

#include "app/picking.h"
#include "vehicles/formautolist.h"
#include "vehicles/listlines.h"

#include <QComboBox>
#include <QPushButton>

using archive::File;

namespace {

const QString kLong = QString("ZETA ") + QString(55, 'Y'); // 60 characters
const QString kLongDescr = QString("UNO ") + QString(56, 'X');

struct Office : MainOffice {
    Office()
    {
        ctx.g.nomeemergenza = QStringLiteral("SISMA");
        // An association without a name is offered on activation, but a
        // search never finds it.
        write(File::Associazioni, crlf({",,,,,,,,1,1", "ALFA,,,,,,,,1,1", "BETA,,,,,,,,1,1", "FALCO,,,,,,,,1,1",
                                        kLong.toLatin1() + ",,,,,,,,1,1"}));
        write(File::Automezzi, crlf({
            "ALFA,AMBULANZA 1,CAMPO 2,05/12/2026,14.30,,,SANITARIA,A",
            "ALFA,JEEP,,01/01/2026,10.00,02/01/2026,11.00,,L",
            "BETA,,,01/01/2026,10.00,,,,R",
            "BETA,CAMBUSA MOBILE,,01/01/2026,10.00,,,,B",
            "BETA,ambulanza vecchia,,01/01/2026,10.00,,,,L",
            kLong.toLatin1() + "," + kLongDescr.toLatin1() + ",,01/01/2026,10.00,,,,L",
        }));
    }

    Formautolist *open(const char *entry) { return fromMenu<Formautolist>(entry); }
};

QString line(const QString &assoc, const QString &descr, const QString &state)
{
    return assoc.leftJustified(50, ' ', true) + descr.leftJustified(50, ' ', true) + state;
}

const QString kHeading = "               ELENCO AUTOMEZZI SISMA";
const QString kAmb = line("ALFA", "AMBULANZA 1", "A");
const QString kJeep = line("ALFA", "JEEP", "L");
const QString kEmpty = line("BETA", "", "R");
const QString kCambusa = line("BETA", "CAMBUSA MOBILE", "B");
const QString kOld = line("BETA", "ambulanza vecchia", "L");
const QString kUno = line(kLong, kLongDescr, "L");

} // namespace

class TestFormautolist : public QObject {
    Q_OBJECT
private slots:
    void generalListColumns();
    void vehiclesOfOneAssociation();
    void searchByDescription();
    void pickingAVehicleForAnActivity();
    void printsWhatTheListShows();
    void printoutThroughPdf();
    void exampleArchiveListsWhole();
};

void TestFormautolist::generalListColumns()
{
    Office o;
    auto *w = o.open("mnautvelg");
    QCOMPARE(o.ctx.g.modoautolist, QString("G"));
    QVERIFY(w->isVisible());
    QCOMPARE(w->windowTitle(), QString("Automezzi - Elenco generale"));
    QVERIFY(listwin::list(w)->toolTip().isEmpty());
    QVERIFY(!listwin::cmdcerca(w)->isVisible());
    QVERIFY(!listwin::cmbcerca(w)->isVisible());
    QVERIFY(listwin::list(w)->font().family().contains("Courier"));
    QCOMPARE(listwin::list(w)->font().pointSizeF(), 8.25);

    const QStringList all = items(listwin::list(w));
    QCOMPARE(all, QStringList({kHeading, "", kAmb, kJeep, kEmpty, kCambusa, kOld, kUno}));
    for (int i = 2; i < all.size(); ++i) QCOMPARE(all.at(i).size(), 101);
    QCOMPARE(all.at(7).left(50), kLong.left(50));
    QCOMPARE(all.at(7).mid(50, 50), kLongDescr.left(50));
    QCOMPARE(all.at(7).at(100), QChar('L'));
    QCOMPARE(all.at(5).at(100), QChar('B'));

    // Activation rebuilds the list: a state changed meanwhile shows.
    o.write(File::Automezzi, crlf({"ALFA,JEEP,,01/01/2026,10.00,,,,A"}));
    o.activate(o.main);
    o.activate(w);
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, "", line("ALFA", "JEEP", "A")}));
    // An empty or missing archive leaves the heading and one empty line.
    o.write(File::Automezzi, "");
    o.activate(w);
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, ""}));
    QFile::remove(o.path(File::Automezzi));
    o.activate(w);
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, ""}));
    QVERIFY(!o.exists(File::Automezzi));

    // In mode G neither the button nor a line does anything.
    o.write(File::Automezzi, crlf({"ALFA,JEEP,,01/01/2026,10.00,,,,A"}));
    o.activate(w);
    bool offered = false;
    w->setOfferHandler([&](picking::Kind, const QString &) { offered = true; });
    listwin::cmdcerca(w)->click();
    listwin::choose(w, 2);
    QVERIFY(!offered);
    QCOMPARE(listwin::list(w)->count(), 3);
    QVERIFY(o.fake.prompts.shown.isEmpty());
    QCOMPARE(o.fake.busy.depth, 0);

    listwin::click(w, "cmdlistesci");
    QVERIFY(!w->isVisible());
}

void TestFormautolist::vehiclesOfOneAssociation()
{
    Office o;
    auto *w = o.open("mnautvelg");
    w = o.open("mnautvass");
    QCOMPARE(o.ctx.g.modoautolist, QString("A"));
    QCOMPARE(w->windowTitle(), QString("Automezzi - di una associazione"));
    QVERIFY(listwin::cmdcerca(w)->isVisible());
    QVERIFY(listwin::cmbcerca(w)->isVisible());
    QCOMPARE(listwin::cmdcerca(w)->text(), QString("Cerca associazione"));
    QCOMPARE(listwin::list(w)->count(), 0);
    QCOMPARE(entries(listwin::cmbcerca(w)), QStringList({"", "ALFA", "BETA", "FALCO", kLong}));
    QVERIFY(listwin::cmbcerca(w)->currentText().isEmpty());

    // The search narrows the choice, in small letters too; the list stays.
    typeInto(listwin::cmbcerca(w), "fa");
    listwin::click(w, "cmdcerca");
    QCOMPARE(entries(listwin::cmbcerca(w)), QStringList({"ALFA", "FALCO"}));
    QVERIFY(listwin::cmbcerca(w)->currentText().isEmpty());
    QCOMPARE(listwin::list(w)->count(), 0);

    QVERIFY(chooseEntry(listwin::cmbcerca(w), "ALFA"));
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, "", kAmb, kJeep}));
    QVERIFY(chooseEntry(listwin::cmbcerca(w), "FALCO"));
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, ""}));

    // The chosen name is the text now: searching keeps only it.
    listwin::click(w, "cmdcerca");
    QCOMPARE(entries(listwin::cmbcerca(w)), QStringList({"FALCO"}));
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, ""}));
    typeInto(listwin::cmbcerca(w), "");
    listwin::click(w, "cmdcerca"); // an empty text: every association again
    QCOMPARE(entries(listwin::cmbcerca(w)), QStringList({"ALFA", "BETA", "FALCO", kLong}));
    QVERIFY(chooseEntry(listwin::cmbcerca(w), kLong));
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, "", kUno}));

    // Typing a name and pressing Enter is no choice.
    typeInto(listwin::cmbcerca(w), "BETA");
    QTest::keyClick(listwin::cmbcerca(w), Qt::Key_Return);
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, "", kUno}));

    // Activation empties the list again.
    o.activate(o.main);
    o.activate(w);
    QCOMPARE(listwin::list(w)->count(), 0);
    QCOMPARE(listwin::cmbcerca(w)->count(), 5);

    QCOMPARE(vehicles::listLines(o.path(File::Automezzi), "SISMA", registers::PairFilter::OfAssociation,
                                 "BETA")
                 .lines,
             QStringList({kHeading, "", kEmpty, kCambusa, kOld}));
}

void TestFormautolist::searchByDescription()
{
    Office o;
    auto *w = o.open("mnautvric");
    QCOMPARE(o.ctx.g.modoautolist, QString("R"));
    QCOMPARE(w->windowTitle(), QString("Automezzi - Ricerca automezzo"));
    QCOMPARE(listwin::cmdcerca(w)->text(), QString("Cerca automezzo"));
    QVERIFY(listwin::cmbcerca(w)->isVisible());
    QCOMPARE(listwin::list(w)->count(), 0);
    QCOMPARE(listwin::cmbcerca(w)->count(), 0);

    typeInto(listwin::cmbcerca(w), "amb");
    listwin::click(w, "cmdcerca");
    // In capitals and by character code: the small-letter description is not found.
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, "", kAmb, kCambusa}));
    QCOMPARE(listwin::cmbcerca(w)->currentText(), QString("amb"));

    typeInto(listwin::cmbcerca(w), "camion");
    listwin::click(w, "cmdcerca");
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, ""}));

    // An empty text lists the vehicles that have a description.
    typeInto(listwin::cmbcerca(w), "");
    listwin::click(w, "cmdcerca");
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, "", kAmb, kJeep, kCambusa, kOld, kUno}));

    // The next activation empties list and search.
    o.activate(o.main);
    o.activate(w);
    QCOMPARE(listwin::list(w)->count(), 0);
    QVERIFY(listwin::cmbcerca(w)->currentText().isEmpty());

    // The menu shows the general list again without the search controls.
    w = o.open("mnautvelg");
    QVERIFY(!listwin::cmbcerca(w)->isVisible());
    QCOMPARE(listwin::list(w)->count(), 8);
}

void TestFormautolist::pickingAVehicleForAnActivity()
{
    Office o;
    auto *w = o.open("mnautvric");
    QList<QPair<picking::Kind, QString>> offered;
    w->setOfferHandler([&](picking::Kind k, const QString &l) { offered.append({k, l}); });
    listwin::list(w)->setToolTip("altro");

    o.activate(o.main); // the activity window's button is pressed elsewhere
    o.ctx.g.modoatt = "RU";
    o.ctx.g.modoattprec = "M";
    picking::openPickList(o.ctx, picking::Kind::Vehicle);
    o.shown<Formautolist>();
    QCOMPARE(o.ctx.g.modoautolist, QString("GA"));
    QCOMPARE(o.ctx.g.modoatt, QString("RU"));
    QCOMPARE(o.ctx.g.modoattprec, QString("M"));
    QVERIFY(w->isVisible());
    QCOMPARE(w->windowTitle(), QString("Automezzi - Elenco generale"));
    QVERIFY(listwin::list(w)->toolTip().isEmpty());
    QVERIFY(!listwin::cmdcerca(w)->isVisible());
    QVERIFY(!listwin::cmbcerca(w)->isVisible());
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, "", kAmb, kJeep, kEmpty, kCambusa, kOld, kUno}));

    // The heading and the empty line are no vehicle.
    listwin::choose(w, 0);
    listwin::choose(w, 1);
    QVERIFY(offered.isEmpty());
    listwin::choose(w, 3);
    listwin::choose(w, 7);
    QCOMPARE(offered.size(), 2);
    QCOMPARE(offered.at(0).first, picking::Kind::Vehicle);
    QCOMPARE(offered.at(0).second, kJeep);
    QCOMPARE(offered.at(1).second, kUno);
    QVERIFY(o.fake.prompts.shown.isEmpty());
}

void TestFormautolist::printsWhatTheListShows()
{
    Office o;
    auto *w = o.open("mnautvelg");
    listwin::click(w, "cmdstampa");
    QCOMPARE(o.fake.printer.jobs.size(), 1);
    const auto &job = o.fake.printer.jobs.first();
    QCOMPARE(job.font, QString("courier new"));
    QCOMPARE(job.points, 8);
    QCOMPARE(job.orientation, Orientation::Landscape);
    QVERIFY(job.ended);
    QCOMPARE(job.lines, QStringList({kHeading, "", kAmb, kJeep, kEmpty, kCambusa, kOld, kUno}));
    QCOMPARE(o.fake.busy.depth, 0);

    // A search result prints as shown; an emptied list prints nothing.
    w = o.open("mnautvric");
    listwin::click(w, "cmdstampa");
    QVERIFY(o.fake.printer.jobs.at(1).lines.isEmpty());
    typeInto(listwin::cmbcerca(w), "jeep");
    listwin::click(w, "cmdcerca");
    listwin::click(w, "cmdstampa");
    QCOMPARE(o.fake.printer.jobs.at(2).lines, QStringList({kHeading, "", kJeep}));
}

void TestFormautolist::printoutThroughPdf()
{
    Office o;
    auto *w = o.open("mnautvelg");
    const PdfText got = listwin::printToPdf(o, w, "automezzi.pdf");
    QVERIFY(got.ok);
    QVERIFY(got.landscape);
    QVERIFY2(qAbs(got.points - 8) < 0.5, qPrintable(QString::number(got.points)));
    QCOMPARE(simplified(got.lines), simplified(items(listwin::list(w))));
    QVERIFY(o.fake.prompts.shown.isEmpty());
}

void TestFormautolist::exampleArchiveListsWhole()
{
    // Every line of the example archive of `make run` reads as a record.
    const QString path = QStringLiteral(VELMORA_HELP_DIR "/../data/example/automezzi.csv");
    const int stored = listwin::exampleLines("automezzi.csv");
    QVERIFY(stored > 0);
    QCOMPARE(vehicles::listLines(path, "SISMA", registers::PairFilter::All).records, stored);
}

QTEST_MAIN(TestFormautolist)
#include "tst_formautolist.moc"
