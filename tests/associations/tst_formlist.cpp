#include "../activities/mainoffice.h"
#include "listwindows.h"

#include "app/picking.h"
#include "associations/formass.h"
#include "associations/formlist.h"
#include "associations/listlines.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using archive::File;

namespace {

const QString kLong = QString("ZETA ") + QString(55, 'Y'); // 60 characters

struct Office : MainOffice {
    Office()
    {
        ctx.g.nomeemergenza = QStringLiteral("SISMA");
        write(File::Associazioni, crlf({
            ",,,,,,,,5,5",                         // a name left empty by hand
            "ALFA,VIA A,ROMA,RM,,,,CAMPO 1,10,10", // typed form
            "CROCE BLU,VIA B,,,,,,, 7 , 7 ",       // number form
            "CROCE ROSSA,,,,,,,,-3,12",
            "GUASTA,,,,,,,,molti,1",               // damaged: never listed
            kLong.toLatin1() + ",VIA Z,,,,,,,32767,32767",
            "MICRO,,,,,,,,0,0",
        }));
    }

    Formlist *fromMain() { return fromMenu<Formlist>("mnassvel"); }

};

QString line(const QString &name, const QString &count) { return name.leftJustified(50) + ' ' + count; }
QString total(const QString &n) { return line("TOTALE", n); }

const QString kHeading = " ELENCO ASSOCIAZIONI SISMA";
const QString kFive = "     ";

} // namespace

class TestFormlist : public QObject {
    Q_OBJECT
private slots:
    void linesColumnsAndTotal();
    void searchInSmallLetters();
    void choosingALineViewsTheAssociation();
    void pickingVolunteersForAnActivity();
    void printsWhatTheListShows();
    void printoutThroughPdf();
    void exampleArchiveListsWhole();
};

void TestFormlist::linesColumnsAndTotal()
{
    Office o;
    auto *w = o.fromMain();
    QCOMPARE(o.ctx.g.modoasslist, QString("IA"));
    QVERIFY(w->isVisible());
    QCOMPARE(w->windowTitle(), QString("Elenco Associazioni"));
    QCOMPARE(listwin::list(w)->toolTip(),
             QString("Cliccare l'associazione per visualizzare i suoi dati."));
    QCOMPARE(w->findChild<QLineEdit *>("cerca")->toolTip(),
             QString("Inserire alcuni caratteri presenti nella denominazione dell'associazione."));
    QVERIFY(listwin::list(w)->font().family().contains("Courier"));
    QCOMPARE(listwin::list(w)->font().pointSizeF(), 9.75);

    const QStringList all = items(listwin::list(w));
    QCOMPARE(all, QStringList({kHeading, kFive, line("", "5"), line("ALFA", "10"),
                               line("CROCE BLU", "7"), line("CROCE ROSSA", "-3"),
                               line(kLong.left(50), "32767"), line("MICRO", "0"), " ",
                               total("32786")}));
    // The count always starts in column 52; a cut name keeps 50 columns.
    QCOMPARE(all.at(3).mid(50), QString(" 10"));
    QCOMPARE(all.at(6).left(51), kLong.left(50) + ' ');
    QCOMPARE(all.at(6).size(), 56);
    // The sum of 16-bit counts may go past 32767.
    QCOMPARE(all.last().mid(51), QString("32786"));

    // Every activation rebuilds the list; an empty archive keeps the frame.
    o.write(File::Associazioni, "");
    o.activate(w);
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, kFive, " ", total("0")}));
    QFile::remove(o.path(File::Associazioni));
    o.activate(w);
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, kFive, " ", total("0")}));
    QVERIFY(!o.exists(File::Associazioni));
    QVERIFY(o.fake.prompts.shown.isEmpty());
    QCOMPARE(o.fake.busy.depth, 0);

    // The pure builder gives the same lines, without the total in mode RA.
    o.write(File::Associazioni, crlf({"ALFA,,,,,,,,10,10"}));
    QCOMPARE(associations::listLines(o.path(File::Associazioni), "SISMA", std::nullopt, false).lines,
             QStringList({kHeading, kFive, line("ALFA", "10")}));

    listwin::click(w, "cmdlistesci");
    QVERIFY(!w->isVisible());
}

void TestFormlist::searchInSmallLetters()
{
    Office o;
    auto *w = o.fromMain();
    auto *cerca = w->findChild<QLineEdit *>("cerca");
    QTest::keyClicks(cerca, "cro");
    listwin::click(w, "cmdcerca");
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, kFive, line("CROCE BLU", "7"),
                                                  line("CROCE ROSSA", "-3"), line("MICRO", "0"), " ",
                                                  total("4")}));
    QCOMPARE(cerca->text(), QString("cro"));
    QCOMPARE(w->windowTitle(), QString("Elenco Associazioni"));

    // An empty text finds every name that is not empty.
    cerca->clear();
    listwin::click(w, "cmdcerca");
    QCOMPARE(listwin::list(w)->count(), 2 + 5 + 2);
    QCOMPARE(items(listwin::list(w)).last(), total("32781"));

    // Found nowhere: the frame with a total of 0.
    QTest::keyClicks(cerca, "xyz");
    listwin::click(w, "cmdcerca");
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, kFive, " ", total("0")}));

    // Picking volunteers: no total lines, neither listed nor searched.
    o.activate(o.main); // the activity window's button is pressed elsewhere
    picking::openPickList(o.ctx, picking::Kind::Association);
    o.shown<Formlist>();
    QCOMPARE(items(listwin::list(w)).size(), 2 + 6);
    QVERIFY(!items(listwin::list(w)).last().startsWith("TOTALE"));
    cerca->setText("Rossa");
    listwin::click(w, "cmdcerca");
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, kFive, line("CROCE ROSSA", "-3")}));
    // A search result stays until the next activation.
    o.activate(o.main);
    o.activate(w);
    QCOMPARE(listwin::list(w)->count(), 2 + 6);
}

void TestFormlist::choosingALineViewsTheAssociation()
{
    Office o;
    auto *w = o.fromMain();
    o.ctx.g.modoass = "M";
    listwin::choose(w, 3);
    auto *ass = o.shown<Formass>();
    QVERIFY(ass->isVisible());
    QCOMPARE(o.ctx.g.modoass, QString("L"));
    QCOMPARE(o.ctx.g.nomecaricato, QString("ALFA"));
    QCOMPARE(ass->windowTitle(), QString("Associazioni "));
    QVERIFY(!ass->findChild<QPushButton *>("cmdassregistra")->isVisible());
    QCOMPARE(ass->findChild<QComboBox *>("cmbassdenom")->currentText(), QString("ALFA"));
    QCOMPARE(ass->findChild<QLineEdit *>("assindir")->text(), QString("VIA A"));
    QCOMPARE(ass->findChild<QLineEdit *>("assnumvol")->text(), QString("10"));

    // A name cut at 50 columns still finds its association.
    o.activate(w);
    listwin::choose(w, 6);
    o.shown<Formass>();
    QCOMPARE(o.ctx.g.nomecaricato, kLong.left(50));
    QCOMPARE(ass->findChild<QComboBox *>("cmbassdenom")->currentText(), kLong);
    QCOMPARE(ass->findChild<QLineEdit *>("assindir")->text(), QString("VIA Z"));

    // The heading opens the window too, with nothing of its own to load.
    o.activate(w);
    listwin::choose(w, 0);
    o.shown<Formass>();
    QCOMPARE(o.ctx.g.nomecaricato, kHeading);
    QCOMPARE(ass->findChild<QLineEdit *>("assindir")->text(), QString("VIA Z"));
    QVERIFY(o.fake.prompts.shown.isEmpty());
    QCOMPARE(o.read(File::Associazioni).count('\n'), 7); // nothing written
}

void TestFormlist::pickingVolunteersForAnActivity()
{
    Office o;
    auto *w = o.windows->get<Formlist>();
    QList<QPair<picking::Kind, QString>> offered;
    w->setOfferHandler([&](picking::Kind k, const QString &l) { offered.append({k, l}); });

    o.ctx.g.modoatt = "RA";
    o.ctx.g.modoattprec = "I";
    picking::openPickList(o.ctx, picking::Kind::Association);
    o.shown<Formlist>();
    QCOMPARE(o.ctx.g.modoasslist, QString("RA"));
    QCOMPARE(o.ctx.g.modoatt, QString("RA"));
    QCOMPARE(o.ctx.g.modoattprec, QString("I"));
    QVERIFY(w->isVisible());
    QCOMPARE(listwin::list(w)->toolTip(),
             QString("Cliccare l'associazione per scegliere il numero di volontari."));
    QCOMPARE(listwin::list(w)->count(), 2 + 6);

    // The heading and the line of blanks are no association.
    listwin::choose(w, 0);
    listwin::choose(w, 1);
    QVERIFY(offered.isEmpty());
    o.ctx.g.nomecaricato = "PRIMA";
    listwin::choose(w, 4);
    QCOMPARE(offered.size(), 1);
    QCOMPARE(offered.at(0).first, picking::Kind::Association);
    QCOMPARE(offered.at(0).second, line("CROCE BLU", "7"));
    QCOMPARE(o.ctx.g.nomecaricato, line("CROCE BLU", "7"));
    QVERIFY(!o.windows->existing<Formass>());

    // The last line of a search result is an association too.
    w->findChild<QLineEdit *>("cerca")->setText("micro");
    listwin::click(w, "cmdcerca");
    listwin::choose(w, 2);
    QCOMPARE(offered.size(), 2);
    QCOMPARE(offered.at(1).second, line("MICRO", "0"));

    // Any other mode does nothing with a line.
    o.ctx.g.modoasslist = "X";
    o.activate(o.main);
    o.activate(w);
    listwin::choose(w, 3);
    QCOMPARE(offered.size(), 2);
    QVERIFY(!o.windows->existing<Formass>());
}

void TestFormlist::printsWhatTheListShows()
{
    Office o;
    auto *w = o.fromMain();
    listwin::click(w, "cmdstampa");
    QCOMPARE(o.fake.printer.jobs.size(), 1);
    const auto &job = o.fake.printer.jobs.first();
    QCOMPARE(job.font, QString("courier new"));
    QCOMPARE(job.points, 12);
    QCOMPARE(job.orientation, Orientation::Portrait);
    QVERIFY(job.ended);
    QCOMPARE(job.lines, items(listwin::list(w)));
    QCOMPARE(job.lines.last(), total("32786"));
    QCOMPARE(o.fake.busy.depth, 0);

    w->findChild<QLineEdit *>("cerca")->setText("ALFA");
    listwin::click(w, "cmdcerca");
    listwin::click(w, "cmdstampa");
    QCOMPARE(o.fake.printer.jobs.at(1).lines,
             QStringList({kHeading, kFive, line("ALFA", "10"), " ", total("10")}));
}

void TestFormlist::printoutThroughPdf()
{
    Office o;
    auto *w = o.fromMain();
    const PdfText got = listwin::printToPdf(o, w, "associazioni.pdf");
    QVERIFY(got.ok);
    QVERIFY(!got.landscape);
    QVERIFY2(qAbs(got.points - 12) < 0.5, qPrintable(QString::number(got.points)));
    QCOMPARE(simplified(got.lines), simplified(items(listwin::list(w))));
    QVERIFY(o.fake.prompts.shown.isEmpty());
}

void TestFormlist::exampleArchiveListsWhole()
{
    // Every line of the example archive of `make run` reads as a record.
    const QString path = QStringLiteral(VELMORA_HELP_DIR "/../data/example/associazioni.csv");
    const int stored = listwin::exampleLines("associazioni.csv");
    QVERIFY(stored > 0);
    QCOMPARE(associations::listLines(path, "SISMA", std::nullopt, true).records, stored);
}

QTEST_MAIN(TestFormlist)
#include "tst_formlist.moc"
