#include "../activities/mainoffice.h"
#include "pdftext.h"
#include "widgets.h"

#include "app/picking.h"
#include "platform/qtplatform.h"
#include "vehicles/formautolist.h"
#include "vehicles/listlines.h"

#include <QComboBox>
#include <QPushButton>

using archive::File;

namespace {

const QString kLong = QString("ZETA ") + QString(55, 'Y'); // 60 characters

struct Office : MainOffice {
    Office()
    {
        ctx.g.nomeemergenza = QStringLiteral("SISMA");
        write(File::Associazioni, crlf({"ALFA,,,,,,,,1,1", "BETA,,,,,,,,1,1", "FALCO,,,,,,,,1,1",
                                        kLong.toLatin1() + ",,,,,,,,1,1"}));
        write(File::Automezzi, crlf({
            "ALFA,AMBULANZA 1,CAMPO 2,05/12/2026,14.30,,,SANITARIA,A",
            "ALFA,JEEP,,01/01/2026,10.00,02/01/2026,11.00,,L",
            "BETA,,,01/01/2026,10.00,,,,R",
            "BETA,CAMBUSA MOBILE,,01/01/2026,10.00,,,,B",
            "BETA,ambulanza vecchia,,01/01/2026,10.00,,,,L",
            kLong.toLatin1() + ",UNO,,01/01/2026,10.00,,,,L",
        }));
    }

    Formautolist *open(const char *entry) { return fromMenu<Formautolist>(entry); }

    static QListWidget *list(QWidget *w) { return w->findChild<QListWidget *>("List1"); }
    static QComboBox *cmbcerca(QWidget *w) { return w->findChild<QComboBox *>("cmbcerca"); }
    static QPushButton *cmdcerca(QWidget *w) { return w->findChild<QPushButton *>("cmdcerca"); }
    static void click(QWidget *w, const char *name)
    {
        QTest::mouseClick(w->findChild<QPushButton *>(name), Qt::LeftButton);
    }
    static void choose(QWidget *w, int row)
    {
        QListWidget *l = list(w);
        l->scrollToItem(l->item(row));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
    }
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
const QString kUno = line(kLong, "UNO", "L");

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
    QVERIFY(Office::list(w)->toolTip().isEmpty());
    QVERIFY(!Office::cmdcerca(w)->isVisible());
    QVERIFY(!Office::cmbcerca(w)->isVisible());
    QVERIFY(Office::list(w)->font().family().contains("Courier"));
    QCOMPARE(Office::list(w)->font().pointSizeF(), 8.25);

    const QStringList all = items(Office::list(w));
    QCOMPARE(all, QStringList({kHeading, "", kAmb, kJeep, kEmpty, kCambusa, kOld, kUno}));
    for (int i = 2; i < all.size(); ++i) QCOMPARE(all.at(i).size(), 101);
    QCOMPARE(all.at(7).left(50), kLong.left(50));
    QCOMPARE(all.at(7).mid(50, 50), QString("UNO") + QString(47, ' '));
    QCOMPARE(all.at(5).at(100), QChar('B'));

    // Activation rebuilds the list: a state changed meanwhile shows.
    o.write(File::Automezzi, crlf({"ALFA,JEEP,,01/01/2026,10.00,,,,A"}));
    o.activate(o.main);
    o.activate(w);
    QCOMPARE(items(Office::list(w)), QStringList({kHeading, "", line("ALFA", "JEEP", "A")}));
    // An empty or missing archive leaves the heading and one empty line.
    o.write(File::Automezzi, "");
    o.activate(w);
    QCOMPARE(items(Office::list(w)), QStringList({kHeading, ""}));
    QFile::remove(o.path(File::Automezzi));
    o.activate(w);
    QCOMPARE(items(Office::list(w)), QStringList({kHeading, ""}));
    QVERIFY(!o.exists(File::Automezzi));

    // In mode G neither the button nor a line does anything.
    o.write(File::Automezzi, crlf({"ALFA,JEEP,,01/01/2026,10.00,,,,A"}));
    o.activate(w);
    bool offered = false;
    w->setOfferHandler([&](picking::Kind, const QString &) { offered = true; });
    Office::cmdcerca(w)->click();
    Office::choose(w, 2);
    QVERIFY(!offered);
    QCOMPARE(Office::list(w)->count(), 3);
    QVERIFY(o.fake.prompts.shown.isEmpty());
    QCOMPARE(o.fake.busy.depth, 0);

    Office::click(w, "cmdlistesci");
    QVERIFY(!w->isVisible());
}

void TestFormautolist::vehiclesOfOneAssociation()
{
    Office o;
    auto *w = o.open("mnautvelg");
    w = o.open("mnautvass");
    QCOMPARE(o.ctx.g.modoautolist, QString("A"));
    QCOMPARE(w->windowTitle(), QString("Automezzi - di una associazione"));
    QVERIFY(Office::cmdcerca(w)->isVisible());
    QVERIFY(Office::cmbcerca(w)->isVisible());
    QCOMPARE(Office::cmdcerca(w)->text(), QString("Cerca associazione"));
    QCOMPARE(Office::list(w)->count(), 0);
    QCOMPARE(entries(Office::cmbcerca(w)), QStringList({"ALFA", "BETA", "FALCO", kLong}));
    QVERIFY(Office::cmbcerca(w)->currentText().isEmpty());

    // The search narrows the choice, in small letters too; the list stays.
    typeInto(Office::cmbcerca(w), "fa");
    Office::click(w, "cmdcerca");
    QCOMPARE(entries(Office::cmbcerca(w)), QStringList({"ALFA", "FALCO"}));
    QVERIFY(Office::cmbcerca(w)->currentText().isEmpty());
    QCOMPARE(Office::list(w)->count(), 0);

    QVERIFY(chooseEntry(Office::cmbcerca(w), "ALFA"));
    QCOMPARE(items(Office::list(w)), QStringList({kHeading, "", kAmb, kJeep}));
    QVERIFY(chooseEntry(Office::cmbcerca(w), "FALCO"));
    QCOMPARE(items(Office::list(w)), QStringList({kHeading, ""}));

    // The chosen name is the text now: searching keeps only it.
    Office::click(w, "cmdcerca");
    QCOMPARE(entries(Office::cmbcerca(w)), QStringList({"FALCO"}));
    QCOMPARE(items(Office::list(w)), QStringList({kHeading, ""}));
    typeInto(Office::cmbcerca(w), "");
    Office::click(w, "cmdcerca"); // an empty text: every association again
    QCOMPARE(entries(Office::cmbcerca(w)), QStringList({"ALFA", "BETA", "FALCO", kLong}));
    QVERIFY(chooseEntry(Office::cmbcerca(w), kLong));
    QCOMPARE(items(Office::list(w)), QStringList({kHeading, "", kUno}));

    // Typing a name and pressing Enter is no choice.
    typeInto(Office::cmbcerca(w), "BETA");
    QTest::keyClick(Office::cmbcerca(w), Qt::Key_Return);
    QCOMPARE(items(Office::list(w)), QStringList({kHeading, "", kUno}));

    // Activation empties the list again.
    o.activate(o.main);
    o.activate(w);
    QCOMPARE(Office::list(w)->count(), 0);
    QCOMPARE(Office::cmbcerca(w)->count(), 4);

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
    QCOMPARE(Office::cmdcerca(w)->text(), QString("Cerca automezzo"));
    QVERIFY(Office::cmbcerca(w)->isVisible());
    QCOMPARE(Office::list(w)->count(), 0);
    QCOMPARE(Office::cmbcerca(w)->count(), 0);

    typeInto(Office::cmbcerca(w), "amb");
    Office::click(w, "cmdcerca");
    // In capitals and by character code: the small-letter description is not found.
    QCOMPARE(items(Office::list(w)), QStringList({kHeading, "", kAmb, kCambusa}));
    QCOMPARE(Office::cmbcerca(w)->currentText(), QString("amb"));

    typeInto(Office::cmbcerca(w), "camion");
    Office::click(w, "cmdcerca");
    QCOMPARE(items(Office::list(w)), QStringList({kHeading, ""}));

    // An empty text lists the vehicles that have a description.
    typeInto(Office::cmbcerca(w), "");
    Office::click(w, "cmdcerca");
    QCOMPARE(items(Office::list(w)), QStringList({kHeading, "", kAmb, kJeep, kCambusa, kOld, kUno}));

    // The next activation empties list and search.
    o.activate(o.main);
    o.activate(w);
    QCOMPARE(Office::list(w)->count(), 0);
    QVERIFY(Office::cmbcerca(w)->currentText().isEmpty());

    // The menu shows the general list again without the search controls.
    w = o.open("mnautvelg");
    QVERIFY(!Office::cmbcerca(w)->isVisible());
    QCOMPARE(Office::list(w)->count(), 8);
}

void TestFormautolist::pickingAVehicleForAnActivity()
{
    Office o;
    auto *w = o.open("mnautvric");
    QList<QPair<picking::Kind, QString>> offered;
    w->setOfferHandler([&](picking::Kind k, const QString &l) { offered.append({k, l}); });
    Office::list(w)->setToolTip("altro");

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
    QVERIFY(Office::list(w)->toolTip().isEmpty());
    QVERIFY(!Office::cmdcerca(w)->isVisible());
    QVERIFY(!Office::cmbcerca(w)->isVisible());
    QCOMPARE(items(Office::list(w)), QStringList({kHeading, "", kAmb, kJeep, kEmpty, kCambusa, kOld, kUno}));

    // The heading and the empty line are no vehicle.
    Office::choose(w, 0);
    Office::choose(w, 1);
    QVERIFY(offered.isEmpty());
    Office::choose(w, 3);
    Office::choose(w, 7);
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
    Office::click(w, "cmdstampa");
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
    Office::click(w, "cmdstampa");
    QVERIFY(o.fake.printer.jobs.at(1).lines.isEmpty());
    typeInto(Office::cmbcerca(w), "jeep");
    Office::click(w, "cmdcerca");
    Office::click(w, "cmdstampa");
    QCOMPARE(o.fake.printer.jobs.at(2).lines, QStringList({kHeading, "", kJeep}));
}

void TestFormautolist::printoutThroughPdf()
{
    Office o;
    QtLinePrinter printer(o.fake.prompts);
    const QString pdf = o.path("automezzi.pdf");
    printer.setPdfOutput(pdf);
    o.ctx.platform.printer = &printer;
    auto *w = o.open("mnautvelg");
    Office::click(w, "cmdstampa");

    const PdfText got = readPdf(pdf);
    QVERIFY(got.ok);
    QVERIFY(got.landscape);
    QVERIFY2(qAbs(got.points - 8) < 0.5, qPrintable(QString::number(got.points)));
    QCOMPARE(simplified(got.lines), simplified(items(Office::list(w))));
    QVERIFY(o.fake.prompts.shown.isEmpty());
}

void TestFormautolist::exampleArchiveListsWhole()
{
    // Every line of the example archive of `make run` reads as a record.
    const QString path = QStringLiteral(VELMORA_HELP_DIR "/../data/example/automezzi.csv");
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const int stored = f.readAll().count('\n');
    QVERIFY(stored > 0);
    QCOMPARE(vehicles::listLines(path, "SISMA", registers::PairFilter::All).records, stored);
}

QTEST_MAIN(TestFormautolist)
#include "tst_formautolist.moc"
