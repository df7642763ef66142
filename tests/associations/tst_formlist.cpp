#include "listwindows.h"
#include "registerdesk.h"


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
                                      "GUASTA,,,,,,,,molti,1", // damaged: never listed
                                      kLong.toLatin1() + ",VIA Z,,,,,,,32767,32767",
                                      "MICRO,,,,,,,,0,0",
                                  }));
    }
};

// The count starts in column 52; a longer name is cut at 50 columns.
QString line(const QString &name, const QString &count) { return name.leftJustified(50, ' ', true) + ' ' + count; }

const QString kHeading = " ELENCO ASSOCIAZIONI SISMA";
const QString kFive = "     ";
const QStringList kRecords = {line("", "5"), line("ALFA", "10"), line("CROCE BLU", "7"),
                              line("CROCE ROSSA", "-3"), line(kLong, "32767"), line("MICRO", "0")};

QStringList framed(const QStringList &records, const QString &sum)
{
    return QStringList{kHeading, kFive} + records + QStringList{" ", line("TOTALE", sum)};
}

QStringList shown(QWidget *w) { return items(listwin::list(w)); }

} // namespace

class TestFormlist : public QObject {
    Q_OBJECT
private slots:
    // The printout goes through the recording printer: the layout of a
    // portrait page through PDF is the activity sheet's test.
    void linesSearchPrintAndView()
    {
        Office o;
        auto *w = o.fromMenu<Formlist>("mnassvel");
        // The sum of 16-bit counts may go past 32767.
        QCOMPARE(shown(w), framed(kRecords, "32786"));

        auto *cerca = lineOf(w, "cerca");
        QTest::keyClicks(cerca, "cro");
        listwin::click(w, "cmdcerca");
        QCOMPARE(shown(w), framed({line("CROCE BLU", "7"), line("CROCE ROSSA", "-3"), line("MICRO", "0")}, "4"));
        QCOMPARE(cerca->text(), QString("cro"));
        listwin::click(w, "cmdstampa");
        QCOMPARE(o.fake.printer.jobs.size(), 1);
        QCOMPARE(jobSetup(o.fake.printer.jobs.first()), printSetup(12, Orientation::Portrait));
        QCOMPARE(o.fake.printer.jobs.first().lines, shown(w));
        // An empty text finds every name that is not empty; found nowhere:
        // the frame with a total of 0.
        cerca->clear();
        listwin::click(w, "cmdcerca");
        QCOMPARE(shown(w), framed(kRecords.mid(1), "32781"));
        QTest::keyClicks(cerca, "xyz");
        listwin::click(w, "cmdcerca");
        QCOMPARE(shown(w), framed({}, "0"));

        // Choosing a line views the association. A name cut at 50 columns
        // still finds it; a negative count shows; the heading opens the
        // window too, empty: nothing of its own to load.
        o.ctx.g.modoass = modes::Registry::M;
        const struct {
            int row;
            QString loaded;
            Typed shown;
        } cases[] = {
            {3, "ALFA", {{"cmbassdenom", "ALFA"}, {"assindir", "VIA A"}, {"assnumvol", "10"}}},
            {6, kLong.left(50), {{"cmbassdenom", kLong}, {"assindir", "VIA Z"}, {"assnumvol", "32767"}}},
            {5, "CROCE ROSSA", {{"cmbassdenom", "CROCE ROSSA"}, {"assindir", ""}, {"assnumvol", "-3"}}},
            {0, kHeading, {{"cmbassdenom", ""}, {"assindir", ""}}},
        };
        for (const auto &c : cases) {
            o.activate(w); // every activation rebuilds the whole list
            listwin::choose(w, c.row);
            auto *ass = o.shown<Formass>();
            QCOMPARE(o.ctx.g.modoass, modes::Registry::L);
            QCOMPARE(o.ctx.g.nomecaricato, c.loaded);
            QVERIFY(!ass->findChild<QPushButton *>("cmdassregistra")->isVisible());
            QCOMPARE(shownIn(ass, c.shown), c.shown);
        }
        QCOMPARE(o.read(File::Associazioni).count('\n'), 7); // nothing written

        // A missing archive (an empty one reads the same: tst_damaged) keeps
        // the frame; that reading creates none: tst_pairlists.
        QFile::remove(o.path(File::Associazioni));
        o.activate(w);
        QCOMPARE(shown(w), framed({}, "0"));
        QVERIFY(o.fake.prompts.shown.isEmpty());
        listwin::click(w, "cmdlistesci");
        QVERIFY(!w->isVisible());
    }

    void pickingVolunteersForAnActivity()
    {
        Office o;
        auto *w = o.windows->get<Formlist>();
        QList<QPair<ResourceKind, QString>> offered;
        QObject::connect(w, &registers::RegisterList::picked, [&](ResourceKind k, const QString &l) { offered.append({k, l}); });
        // The activity window's button is pressed elsewhere; what it leaves of
        // that window's modes: tst_resourceflow.
        o.activate(o.main);
        o.main->openPickList(ResourceKind::Association);
        QCOMPARE(o.shown<Formlist>(), w);
        QVERIFY(w->isVisible());
        QCOMPARE(o.ctx.g.modoasslist, modes::AssociationList::RA);
        QCOMPARE(listwin::list(w)->toolTip(), QString("Cliccare l'associazione per scegliere il numero di volontari."));
        // No total lines.
        QCOMPARE(shown(w), QStringList({kHeading, kFive}) + kRecords);

        // The heading and the line of blanks are no association.
        for (int row : {0, 1, 4}) listwin::choose(w, row);
        QCOMPARE(offered, (QList<QPair<ResourceKind, QString>>{{ResourceKind::Association, line("CROCE BLU", "7")}}));
        QCOMPARE(o.ctx.g.nomecaricato, line("CROCE BLU", "7"));
        QVERIFY(!o.windows->existing<Formass>());

        // A search gives no total either, and its last line is an
        // association too.
        lineOf(w, "cerca")->setText("micro");
        listwin::click(w, "cmdcerca");
        QCOMPARE(shown(w), QStringList({kHeading, kFive, line("MICRO", "0")}));
        listwin::choose(w, 2);
        QCOMPARE(offered.last().second, line("MICRO", "0"));

        // Any other mode does nothing with a line.
        o.ctx.g.modoasslist = modes::AssociationList::Unset;
        listwin::choose(w, 3);
        QCOMPARE(offered.size(), 2);
        QVERIFY(!o.windows->existing<Formass>());
    }
};

QTEST_MAIN(TestFormlist)
#include "tst_formlist.moc"
