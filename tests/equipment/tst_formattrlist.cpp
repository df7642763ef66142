#include "../activities/mainoffice.h"
#include "listwindows.h"
#include "widgets.h"

#include "app/picking.h"
#include "equipment/formattrlist.h"
#include "equipment/listlines.h"

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
        write(File::Associazioni, crlf({",,,,,,,,1,1", "ALFA,,,,,,,,1,1", "BETA,,,,,,,,1,1",
                                        "FALCO,,,,,,,,1,1", kLong.toLatin1() + ",,,,,,,,1,1"}));
        write(File::Attrezzature, crlf({
            "ALFA,GENERATORE,L,4",         // typed form
            "ALFA,TENDA PNEUMATICA,A, 12 ", // number form
            "BETA,,L,1",
            "BETA,MOTOPOMPA,R,-2",
            "BETA,pala,L,32767",
            "BETA,ROTTA,L,tante",          // damaged: never listed
            kLong.toLatin1() + "," + kLongDescr.toLatin1() + ",L,0",
        }));
    }

    Formattrlist *open(const char *entry) { return fromMenu<Formattrlist>(entry); }
};

QString line(const QString &assoc, const QString &descr, const QString &state, const QString &qta)
{
    return assoc.leftJustified(50, ' ', true) + descr.leftJustified(50, ' ', true) + state + "  " + qta;
}

const QString kHeading = "               ELENCO ATTREZZATURE SISMA";
const QString kGen = line("ALFA", "GENERATORE", "L", "4");
const QString kTenda = line("ALFA", "TENDA PNEUMATICA", "A", "12");
const QString kEmpty = line("BETA", "", "L", "1");
const QString kPompa = line("BETA", "MOTOPOMPA", "R", "-2");
const QString kPala = line("BETA", "pala", "L", "32767");
const QString kUno = line(kLong, kLongDescr, "L", "0");
const QStringList kAll = {kHeading, "", kGen, kTenda, kEmpty, kPompa, kPala, kUno};

} // namespace

class TestFormattrlist : public QObject {
    Q_OBJECT
private slots:
    void generalListColumns();
    void equipmentOfOneAssociation();
    void searchByDescription();
    void pickingEquipmentForAnActivity();
    void printsWhatTheListShows();
    void printoutThroughPdf();
    void exampleArchiveListsWhole();
};

void TestFormattrlist::generalListColumns()
{
    Office o;
    auto *w = o.open("mnatrvelg");
    QCOMPARE(o.ctx.g.modoattrlist, QString("G"));
    QVERIFY(w->isVisible());
    QCOMPARE(w->windowTitle(), QString("Attrezzature - Elenco generale"));
    QVERIFY(listwin::list(w)->toolTip().isEmpty());
    QVERIFY(!listwin::cmdcerca(w)->isVisible());
    QVERIFY(!listwin::cmbcerca(w)->isVisible());
    QVERIFY(listwin::list(w)->font().family().contains("Courier"));
    QCOMPARE(listwin::list(w)->font().pointSizeF(), 8.25);

    const QStringList all = items(listwin::list(w));
    QCOMPARE(all, kAll);
    // State in column 101, two blanks, the quantity's digits from column 104.
    QCOMPARE(all.at(3).mid(100), QString("A  12"));
    QCOMPARE(all.at(5).mid(100), QString("R  -2"));
    QCOMPARE(all.at(6).mid(103), QString("32767"));
    QCOMPARE(all.at(7).left(50), kLong.left(50));
    QCOMPARE(all.at(7).mid(50, 50), kLongDescr.left(50));
    QCOMPARE(all.at(7).mid(100), QString("L  0"));

    // A state that is not one letter keeps the quantity in column 104.
    o.write(File::Attrezzature, crlf({"ALFA,TENDA,,3", "ALFA,TELO,LX,5"}));
    o.activate(o.main);
    o.activate(w);
    QCOMPARE(items(listwin::list(w)),
             QStringList({kHeading, "", line("ALFA", "TENDA", " ", "3"), line("ALFA", "TELO", "L", "5")}));
    // An empty or missing archive leaves the heading and one empty line.
    o.write(File::Attrezzature, "");
    o.activate(w);
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, ""}));
    QFile::remove(o.path(File::Attrezzature));
    o.activate(w);
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, ""}));
    QVERIFY(!o.exists(File::Attrezzature));

    // In mode G neither the button nor a line does anything.
    o.write(File::Attrezzature, crlf({"ALFA,GENERATORE,L,4"}));
    o.activate(w);
    bool offered = false;
    w->setOfferHandler([&](picking::Kind, const QString &) { offered = true; });
    listwin::cmdcerca(w)->click();
    listwin::choose(w, 2);
    QVERIFY(!offered);
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, "", kGen}));
    QVERIFY(o.fake.prompts.shown.isEmpty());
    QCOMPARE(o.fake.busy.depth, 0);

    listwin::click(w, "cmdlistesci");
    QVERIFY(!w->isVisible());
}

void TestFormattrlist::equipmentOfOneAssociation()
{
    Office o;
    auto *w = o.open("mnatrvass");
    QCOMPARE(o.ctx.g.modoattrlist, QString("A"));
    QCOMPARE(w->windowTitle(), QString("Attrezzature - di una associazione"));
    QVERIFY(listwin::cmdcerca(w)->isVisible());
    QVERIFY(listwin::cmbcerca(w)->isVisible());
    QCOMPARE(listwin::cmdcerca(w)->text(), QString("Cerca associazione"));
    QCOMPARE(listwin::list(w)->count(), 0);
    QCOMPARE(entries(listwin::cmbcerca(w)), QStringList({"", "ALFA", "BETA", "FALCO", kLong}));

    typeInto(listwin::cmbcerca(w), "fa");
    listwin::click(w, "cmdcerca");
    QCOMPARE(entries(listwin::cmbcerca(w)), QStringList({"ALFA", "FALCO"}));
    QCOMPARE(listwin::list(w)->count(), 0);

    QVERIFY(chooseEntry(listwin::cmbcerca(w), "ALFA"));
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, "", kGen, kTenda}));
    QVERIFY(chooseEntry(listwin::cmbcerca(w), "FALCO"));
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, ""}));

    // An empty text matches every association.
    typeInto(listwin::cmbcerca(w), "");
    listwin::click(w, "cmdcerca");
    QCOMPARE(entries(listwin::cmbcerca(w)), QStringList({"", "ALFA", "BETA", "FALCO", kLong}));
    QVERIFY(chooseEntry(listwin::cmbcerca(w), "BETA"));
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, "", kEmpty, kPompa, kPala}));

    o.activate(o.main);
    o.activate(w);
    QCOMPARE(listwin::list(w)->count(), 0);

    QCOMPARE(equipment::listLines(o.path(File::Attrezzature), "SISMA",
                                  registers::PairFilter::OfAssociation, kLong)
                 .lines,
             QStringList({kHeading, "", kUno}));
}

void TestFormattrlist::searchByDescription()
{
    Office o;
    auto *w = o.open("mnatrvric");
    QCOMPARE(o.ctx.g.modoattrlist, QString("R"));
    QCOMPARE(w->windowTitle(), QString("Attrezzature - Ricerca attrezzatura"));
    QCOMPARE(listwin::cmdcerca(w)->text(), QString("Cerca attrezzatura"));
    QCOMPARE(listwin::list(w)->count(), 0);
    QCOMPARE(listwin::cmbcerca(w)->count(), 0);

    typeInto(listwin::cmbcerca(w), "pa");
    listwin::click(w, "cmdcerca");
    // In capitals: "pala" in small letters is not found.
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, "", kPompa}));

    typeInto(listwin::cmbcerca(w), "ruspa");
    listwin::click(w, "cmdcerca");
    QCOMPARE(items(listwin::list(w)), QStringList({kHeading, ""}));

    // An empty text lists every item, the one without description too.
    typeInto(listwin::cmbcerca(w), "");
    listwin::click(w, "cmdcerca");
    QCOMPARE(items(listwin::list(w)), kAll);

    o.activate(o.main);
    o.activate(w);
    QCOMPARE(listwin::list(w)->count(), 0);
    QVERIFY(listwin::cmbcerca(w)->currentText().isEmpty());
}

void TestFormattrlist::pickingEquipmentForAnActivity()
{
    Office o;
    auto *w = o.open("mnatrvass");
    QList<QPair<picking::Kind, QString>> offered;
    w->setOfferHandler([&](picking::Kind k, const QString &l) { offered.append({k, l}); });

    o.activate(o.main); // the activity window's button is pressed elsewhere
    o.ctx.g.modoatt = "RT";
    o.ctx.g.modoattprec = "I";
    picking::openPickList(o.ctx, picking::Kind::Equipment);
    o.shown<Formattrlist>();
    QCOMPARE(o.ctx.g.modoattrlist, QString("GA"));
    QCOMPARE(o.ctx.g.modoatt, QString("RT"));
    QCOMPARE(o.ctx.g.modoattprec, QString("I"));
    QCOMPARE(w->windowTitle(), QString("Attrezzature - Elenco generale"));
    QVERIFY(listwin::list(w)->toolTip().isEmpty());
    QVERIFY(!listwin::cmdcerca(w)->isVisible());
    QVERIFY(!listwin::cmbcerca(w)->isVisible());
    QCOMPARE(items(listwin::list(w)), kAll);

    listwin::choose(w, 0);
    listwin::choose(w, 1);
    QVERIFY(offered.isEmpty());
    listwin::choose(w, 3);
    listwin::choose(w, 6);
    QCOMPARE(offered.size(), 2);
    QCOMPARE(offered.at(0).first, picking::Kind::Equipment);
    QCOMPARE(offered.at(0).second, kTenda);
    // The resource window takes the quantity from columns 104 to 109.
    QCOMPARE(offered.at(0).second.mid(103, 6), QString("12"));
    QCOMPARE(offered.at(1).second.mid(103, 6), QString("32767"));
    QVERIFY(o.fake.prompts.shown.isEmpty());
}

void TestFormattrlist::printsWhatTheListShows()
{
    Office o;
    auto *w = o.open("mnatrvelg");
    listwin::click(w, "cmdstampa");
    QCOMPARE(o.fake.printer.jobs.size(), 1);
    const auto &job = o.fake.printer.jobs.first();
    QCOMPARE(job.font, QString("courier new"));
    QCOMPARE(job.points, 8);
    QCOMPARE(job.orientation, Orientation::Landscape);
    QVERIFY(job.ended);
    QCOMPARE(job.lines, kAll);
    QCOMPARE(o.fake.busy.depth, 0);

    w = o.open("mnatrvass");
    QVERIFY(chooseEntry(listwin::cmbcerca(w), "ALFA"));
    listwin::click(w, "cmdstampa");
    QCOMPARE(o.fake.printer.jobs.at(1).lines, QStringList({kHeading, "", kGen, kTenda}));
}

void TestFormattrlist::printoutThroughPdf()
{
    Office o;
    auto *w = o.open("mnatrvelg");
    const PdfText got = listwin::printToPdf(o, w, "attrezzature.pdf");
    QVERIFY(got.ok);
    QVERIFY(got.landscape);
    QVERIFY2(qAbs(got.points - 8) < 0.5, qPrintable(QString::number(got.points)));
    QCOMPARE(simplified(got.lines), simplified(items(listwin::list(w))));
    QVERIFY(o.fake.prompts.shown.isEmpty());
}

void TestFormattrlist::exampleArchiveListsWhole()
{
    // Every line of the example archive of `make run` reads as a record.
    const QString path = QStringLiteral(VELMORA_HELP_DIR "/../data/example/attrezzature.csv");
    const int stored = listwin::exampleLines("attrezzature.csv");
    QVERIFY(stored > 0);
    QCOMPARE(equipment::listLines(path, "SISMA", registers::PairFilter::All).records, stored);
}

QTEST_MAIN(TestFormattrlist)
#include "tst_formattrlist.moc"
