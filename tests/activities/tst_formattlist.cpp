#include "mainoffice.h"

#include "activities/formattivita.h"
#include "activities/formattlist.h"
#include "activities/lists.h"
#include "app/formvelmo.h"
#include "platform/qtplatform.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTest>

using archive::File;

namespace {

struct Office : MainOffice {
    Office()
    {
        ctx.g.nomeemergenza = QStringLiteral("SISMA");
        write(File::Attivita, crlf({
            "7,01/03/2025,08.00,01/03/2025,09.00,01/03/2025,18.00,INCENDIO,ROMA,ROSSI,,C",
            "12,02/03/2025,10.00,,,,,ALLUVIONE,PISA,BIANCHI,ARGINE,A",
            "12345,03/03/2025,11.00,,,,,incendio,LUCCA,NERI,,S",
        }));
        write(File::Risorse, crlf({"7,AUTO,    1 ,ALFA,JEEP,L", "12,VOL.,    4 ,BETA,,O"}));
        write(File::Associazioni, crlf({"ALFA,VIA A,,,,,,10"}));
    }

    Formattlist *open(const char *entry) { return fromMenu<Formattlist>(entry); }

    void choose(Formattlist *w, int row)
    {
        clickLine(list(w), row);
    }

    static LineList *list(QWidget *w) { return w->findChild<LineList *>("List1"); }
    static QLineEdit *cerca(QWidget *w) { return w->findChild<QLineEdit *>("cerca"); }
    static void click(QWidget *w, const char *name)
    {
        QTest::mouseClick(w->findChild<QPushButton *>(name), Qt::LeftButton);
    }
};

const QString kShort7 = "     7 01/03/2025 08.00 ROMA INCENDIO";
const QString kShort12 = "    12 02/03/2025 10.00 PISA ALLUVIONE";
const QString kShort12345 = " 12345 03/03/2025 11.00 LUCCA incendio";

} // namespace

class TestFormattlist : public QObject {
    Q_OBJECT
private slots:
    void fiveModesFromTheMenu();
    void searchByType();
    void choosingALineOpensTheActivity();
    void printsWhatTheListShows();
    void chronologicalPrintoutThroughPdf();
};

void TestFormattlist::fiveModesFromTheMenu()
{
    Office o;
    auto *w = o.open("mnattvgen");
    QCOMPARE(o.ctx.g.modoattlist, QString("G"));
    QVERIFY(w->isVisible());
    QCOMPARE(items(Office::list(w)),
             activities::chronologicalList(o.path(File::Attivita), o.path(File::Risorse), "SISMA"));
    QCOMPARE(items(Office::list(w)).first(),
             QString(15, ' ') + "SISMA ELENCO DELLE ATTIVITA' IN ORDINE CRONOLOGICO");
    QCOMPARE(items(Office::list(w)).size(), 2 + 9 + 9 + 8);
    QVERIFY(Office::list(w)->font().family().contains("Courier"));
    QCOMPARE(Office::list(w)->font().pointSizeF(), 9.75);

    w = o.open("mnattvchi");
    QCOMPARE(o.ctx.g.modoattlist, QString("V"));
    QCOMPARE(items(Office::list(w)), QStringList({kShort7}));
    w = o.open("mnattvann");
    QCOMPARE(items(Office::list(w)), QStringList({kShort12345}));

    // Picking an activity to modify: snapshots first, the activity mode untouched.
    o.ctx.g.modoatt = "X";
    w = o.open("mnattamod");
    QCOMPARE(o.ctx.g.modoattlist, QString("M"));
    QCOMPARE(o.ctx.g.modoatt, QString("X"));
    QCOMPARE(o.read(File::AssociazioniSav), o.read(File::Associazioni));
    QCOMPARE(items(Office::list(w)), QStringList({kShort7, kShort12, kShort12345}));

    // Picking one to cancel prepares the activity window too.
    o.write(File::Associazioni, crlf({"ALFA,VIA B,,,,,,10"}));
    w = o.open("mnattaann");
    QCOMPARE(o.ctx.g.modoattlist, QString("A"));
    QCOMPARE(o.ctx.g.modoatt, QString("A"));
    QCOMPARE(o.read(File::AssociazioniSav), o.read(File::Associazioni));
    auto *activity = o.windows->existing<Formattivita>();
    QVERIFY(activity);
    QVERIFY(!activity->isVisible());
    QCOMPARE(activity->windowTitle(), QString::fromUtf8("Attività - Annullamento"));
    QCOMPARE(activity->findChild<QPushButton *>("cmdregistra")->text(), QString("Annulla"));
    QCOMPARE(items(Office::list(w)), QStringList({kShort7, kShort12, kShort12345}));

    // Any other code leaves the list as it was; an empty archive empties it.
    o.ctx.g.modoattlist = "Q";
    o.activate(w);
    QCOMPARE(Office::list(w)->count(), 3);
    o.write(File::Attivita, "");
    o.ctx.g.modoattlist = "M";
    o.activate(w);
    QCOMPARE(Office::list(w)->count(), 0);
    o.ctx.g.modoattlist = "G";
    o.activate(w);
    QCOMPARE(Office::list(w)->count(), 2);

    Office::click(w, "cmdlistesci");
    QVERIFY(!w->isVisible());
}

void TestFormattlist::searchByType()
{
    Office o;
    auto *w = o.open("mnattvchi");
    QTest::keyClicks(Office::cerca(w), "cend");
    Office::click(w, "cmdcerca");
    // Every state, the text in capitals (the lower-case type is not found).
    QCOMPARE(items(Office::list(w)), QStringList({kShort7}));
    QCOMPARE(Office::cerca(w)->text(), QString("cend"));
    Office::cerca(w)->setText("");
    Office::click(w, "cmdcerca");
    QCOMPARE(items(Office::list(w)), QStringList({kShort7, kShort12, kShort12345}));
    Office::cerca(w)->setText("ALLU");
    Office::click(w, "cmdcerca");
    QCOMPARE(items(Office::list(w)), QStringList({kShort12}));
    // Choosing a search result of mode V opens it for modification.
    o.choose(w, 0);
    QCOMPARE(o.ctx.g.protsel, QString("12"));
    QCOMPARE(o.ctx.g.modoatt, QString("M"));

    // The chronological list keeps the text; the pick lists empty it.
    o.ctx.g.modoattlist = "G";
    o.activate(w);
    QCOMPARE(Office::cerca(w)->text(), QString("ALLU"));
    o.ctx.g.modoattlist = "Z";
    o.activate(w);
    QVERIFY(Office::cerca(w)->text().isEmpty());
}

void TestFormattlist::choosingALineOpensTheActivity()
{
    Office o;
    // Mode G: nothing happens.
    auto *w = o.open("mnattvgen");
    o.ctx.g.protsel = "none";
    o.choose(w, 2);
    QCOMPARE(o.ctx.g.protsel, QString("none"));
    QVERIFY(!o.windows->existing<Formattivita>());

    // Mode Z: the cancelled activity, for modification.
    w = o.open("mnattvann");
    o.choose(w, 0);
    auto *activity = o.windows->existing<Formattivita>();
    QVERIFY(activity && activity->isVisible());
    QCOMPARE(o.ctx.g.protsel, QString("12345"));
    QCOMPARE(o.ctx.g.modoatt, QString("M"));
    QCOMPARE(activity->windowTitle(), QString::fromUtf8("Attività - Modifica"));
    QCOMPARE(activity->findChild<QPushButton *>("cmdregistra")->text(), QString("Modifica"));
    if (o.ctx.lastActive != activity) o.activate(activity);
    QCOMPARE(activity->findChild<QLineEdit *>("numprot")->text(), QString("12345"));
    QCOMPARE(activity->findChild<QLineEdit *>("stato")->text(), QString("Annullata"));
    QCOMPARE(o.ctx.g.attchiusa, QString("1"));

    // Mode A: for cancellation.
    w = o.open("mnattaann");
    o.choose(w, 1);
    QCOMPARE(o.ctx.g.protsel, QString("12"));
    QCOMPARE(o.ctx.g.modoatt, QString("A"));
    QCOMPARE(activity->windowTitle(), QString::fromUtf8("Attività - Annullamento"));
    if (o.ctx.lastActive != activity) o.activate(activity);
    QCOMPARE(activity->findChild<QLineEdit *>("stato")->text(), QString("Aperta"));
    QCOMPARE(activity->resourceList()->count(), 1);
}

void TestFormattlist::printsWhatTheListShows()
{
    Office o;
    auto *w = o.open("mnattvgen");
    Office::click(w, "cmdstampa");
    QCOMPARE(o.fake.printer.jobs.size(), 1);
    const auto &job = o.fake.printer.jobs.first();
    QCOMPARE(job.font, QString("courier new"));
    QCOMPARE(job.points, 10);
    QCOMPARE(job.orientation, Orientation::Landscape);
    QVERIFY(job.ended);
    QCOMPARE(job.lines, items(Office::list(w)));
    QCOMPARE(o.fake.busy.depth, 0);
    QVERIFY(o.fake.busy.pushes > 0);
    // A search result prints as shown.
    Office::cerca(w)->setText("frana");
    Office::click(w, "cmdcerca");
    Office::click(w, "cmdstampa");
    QCOMPARE(o.fake.printer.jobs.size(), 2);
    QVERIFY(o.fake.printer.jobs.at(1).lines.isEmpty());
    QVERIFY(o.fake.prompts.shown.isEmpty());
}

void TestFormattlist::chronologicalPrintoutThroughPdf()
{
    Office o;
    QtLinePrinter printer(o.fake.prompts);
    const QString pdf = o.path("elenco.pdf");
    printer.setPdfOutput(pdf);
    o.ctx.platform.printer = &printer;
    auto *w = o.open("mnattvgen");
    Office::click(w, "cmdstampa");
    QVERIFY(QFile::exists(pdf));

    QProcess info;
    info.start("pdfinfo", {pdf});
    QVERIFY(info.waitForFinished());
    const QString meta = QString::fromUtf8(info.readAllStandardOutput());
    const QRegularExpression size("Page size:\\s+([\\d.]+) x ([\\d.]+)");
    const auto m = size.match(meta);
    QVERIFY(m.hasMatch());
    QVERIFY(m.captured(1).toDouble() > m.captured(2).toDouble()); // landscape

    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    QVERIFY(text.waitForFinished());
    QStringList got = QString::fromUtf8(text.readAllStandardOutput()).split('\n');
    for (QString &l : got) {
        l.remove(QChar('\f'));
        while (l.endsWith(' ')) l.chop(1);
    }
    while (!got.isEmpty() && got.last().isEmpty()) got.removeLast();
    QStringList want = items(Office::list(w));
    for (QString &l : want)
        while (l.endsWith(' ')) l.chop(1);
    // pdftotext keeps the words and their order, not every run of blanks.
    QCOMPARE(got.size(), want.size());
    for (int i = 0; i < want.size(); ++i) QCOMPARE(got.at(i).simplified(), want.at(i).simplified());
    QVERIFY(got.contains(QString(81, '_')));
}

QTEST_MAIN(TestFormattlist)
#include "tst_formattlist.moc"
