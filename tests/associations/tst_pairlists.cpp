// The vehicle list (Formautolist) and the equipment list (Formattrlist): one
// window class in two registers. Every test has a row for each, from a table
// of what differs between them: menu entries, the columns of a line, what an
// empty search finds. What each menu entry sets is tst_menu's.
#include "listwindows.h"
#include "mainoffice.h"
#include "pdftext.h"

#include "app/qtplatform.h"
#include "equipment/formattrlist.h"
#include "vehicles/formautolist.h"

#include <QPrinterInfo>
#include <vector>

using archive::File;

namespace {

const QString kLong = QString("ZETA ") + QString(55, 'Y'); // 60 characters
const QString kLongDescr = QString("UNO ") + QString(56, 'X');

struct Office : MainOffice {
    Office()
    {
        ctx.g.nomeemergenza = QStringLiteral("SISMA");
        const QByteArray l = kLong.toLatin1(), ld = kLongDescr.toLatin1();
        // An association without a name is offered on activation, but only
        // the equipment list's search finds it.
        write(File::Associazioni, crlf({",,,,,,,,1,1", "ALFA,,,,,,,,1,1", "BETA,,,,,,,,1,1",
                                        "FALCO,,,,,,,,1,1", l + ",,,,,,,,1,1"}));
        write(File::Automezzi, crlf({
                                   "ALFA,AMBULANZA 1,CAMPO 2,05/12/2026,14.30,,,SANITARIA,A",
                                   "ALFA,JEEP,,01/01/2026,10.00,02/01/2026,11.00,,L",
                                   "BETA,,,01/01/2026,10.00,,,,R",
                                   "BETA,CAMBUSA MOBILE,,01/01/2026,10.00,,,,B",
                                   "BETA,ambulanza vecchia,,01/01/2026,10.00,,,,L",
                                   l + "," + ld + ",,01/01/2026,10.00,,,,L",
                                   "ZZ,TELO,,,,,,,",
                               }));
        write(File::Attrezzature, crlf({
                                      "ALFA,GENERATORE,L,4",          // typed form
                                      "ALFA,TENDA PNEUMATICA,A, 12 ", // number form
                                      "BETA,,L,1",
                                      "BETA,MOTOPOMPA,R,-2",
                                      "BETA,pala,L,32767",
                                      "BETA,ROTTA,L,tante", // damaged: never listed
                                      l + "," + ld + ",L,0",
                                      "ZZ,TENDA,,3", // a state that is not one letter keeps the quantity in column 104
                                      "ZZ,TELO,LX,5",
                                  }));
    }
};

// Association and description padded or cut to 50 columns, the state in
// column 101; equipment adds two blanks and the quantity from column 104,
// where the resource window takes it from.
QString line(const QString &assoc, const QString &descr, const QString &state,
             const QString &qta = QString())
{
    const QString out = assoc.leftJustified(50, ' ', true) + descr.leftJustified(50, ' ', true) + state;
    return qta.isNull() ? out : out + "  " + qta;
}

struct Reg {
    const char *name;
    File archive;
    modes::PairList Globals::*mode;
    ResourceKind kind;
    const char *general, *ofAssociation, *search; // menu entries
    QString title, heading;
    bool emptySearchFindsEmptyName;
    // The lines of the Office's records, in order: ALFA 0-1, BETA 2-4 (2
    // without a description), the long names 5, odd states from 6.
    QStringList records;
    QList<QPair<QString, QList<int>>> searches; // by description: the records found

    QStringList framed(const QStringList &lines) const { return QStringList{heading, ""} + lines; }
};

const std::vector<Reg> &lists()
{
    static const std::vector<Reg> all = {
        {"automezzi", File::Automezzi, &Globals::modoautolist, ResourceKind::Vehicle, "mnautvelg", "mnautvass", "mnautvric", "Automezzi", "               ELENCO AUTOMEZZI SISMA", false, {line("ALFA", "AMBULANZA 1", "A"), line("ALFA", "JEEP", "L"), line("BETA", "", "R"), line("BETA", "CAMBUSA MOBILE", "B"), line("BETA", "ambulanza vecchia", "L"), line(kLong, kLongDescr, "L"), line("ZZ", "TELO", " ")},
         // An empty text lists the vehicles that have a description.
         {{"", {0, 1, 3, 4, 5, 6}}, {"camion", {}}, {"amb", {0, 3}}}},
        {"attrezzature", File::Attrezzature, &Globals::modoattrlist, ResourceKind::Equipment, "mnatrvelg", "mnatrvass", "mnatrvric", "Attrezzature", "               ELENCO ATTREZZATURE SISMA", true, {line("ALFA", "GENERATORE", "L", "4"), line("ALFA", "TENDA PNEUMATICA", "A", "12"), line("BETA", "", "L", "1"), line("BETA", "MOTOPOMPA", "R", "-2"), line("BETA", "pala", "L", "32767"), line(kLong, kLongDescr, "L", "0"), line("ZZ", "TENDA", " ", "3"), line("ZZ", "TELO", "L", "5")},
         // An empty text lists every item, the one without description too.
         {{"", {0, 1, 2, 3, 4, 5, 6, 7}}, {"ruspa", {}}, {"pa", {3}}}},
    };
    return all;
}

// No entry: the list as the program shows it.
registers::PairList *open(Office &o, const Reg &r, const char *entry = nullptr)
{
    if (r.archive == File::Automezzi) return entry ? o.fromMenu<Formautolist>(entry) : o.shown<Formautolist>();
    return entry ? o.fromMenu<Formattrlist>(entry) : o.shown<Formattrlist>();
}

QStringList shown(QWidget *w) { return items(listwin::list(w)); }

} // namespace

class TestPairLists : public QObject {
    Q_OBJECT
private slots:
    void everyMode_data() { registers(); }
    void everyMode()
    {
        const QStringList names = {"ALFA", "BETA", "FALCO", kLong};
        QFETCH(int, reg);
        const Reg &r = lists()[reg];
        Office o;
        auto *w = open(o, r, r.general);
        QCOMPARE(shown(w), r.framed(r.records));
        // In mode G neither the button nor a line does anything.
        QList<QPair<ResourceKind, QString>> offered;
        QObject::connect(w, &registers::RegisterList::picked, [&](ResourceKind k, const QString &l) { offered.append({k, l}); });
        listwin::cmdcerca(w)->click();
        listwin::choose(w, 2);
        QVERIFY(offered.isEmpty());
        QCOMPARE(shown(w), r.framed(r.records));

        open(o, r, r.ofAssociation); // the search controls come back
        QComboBox *cmb = listwin::cmbcerca(w);
        QVERIFY(cmb->isVisible());
        QCOMPARE(entries(cmb), QStringList{""} + names);
        // The search narrows the choice, in small letters too; the list stays empty.
        typeInto(cmb, "fa");
        listwin::click(w, "cmdcerca");
        QCOMPARE(entries(cmb), QStringList({"ALFA", "FALCO"}));
        QVERIFY(cmb->currentText().isEmpty());
        QCOMPARE(listwin::list(w)->count(), 0);
        QVERIFY(chooseEntry(cmb, "FALCO"));
        QCOMPARE(shown(w), r.framed({}));
        typeInto(cmb, "");
        listwin::click(w, "cmdcerca");
        QCOMPARE(entries(cmb), (r.emptySearchFindsEmptyName ? QStringList{""} : QStringList{}) + names);
        QVERIFY(chooseEntry(cmb, "BETA"));
        QCOMPARE(shown(w), r.framed(r.records.mid(2, 3)));
        QVERIFY(chooseEntry(cmb, kLong));
        QCOMPARE(shown(w), r.framed(r.records.mid(5, 1)));
        // Activation empties the list again.
        o.activate(o.main);
        o.activate(w);
        QCOMPARE(listwin::list(w)->count(), 0);
        QCOMPARE(cmb->count(), 5);

        // Search by description: an emptied list prints nothing.
        open(o, r, r.search);
        listwin::click(w, "cmdstampa");
        QVERIFY(o.fake.printer.jobs.at(0).lines.isEmpty());

        // In capitals and by character code: a description in small letters
        // is not found.
        for (const auto &[typed, found] : r.searches) {
            typeInto(cmb, typed);
            listwin::click(w, "cmdcerca");
            QStringList lines;
            for (int i : found) lines << r.records.at(i);
            QCOMPARE(shown(w), r.framed(lines));
            QCOMPARE(cmb->currentText(), typed);
        }

        // A search result prints as shown.
        listwin::click(w, "cmdstampa");
        QCOMPARE(jobSetup(o.fake.printer.jobs.at(1)), printSetup(8, Orientation::Landscape));
        QCOMPARE(o.fake.printer.jobs.at(1).lines, shown(w));

        // The next activation empties list and search.
        o.activate(o.main);
        o.activate(w);
        QCOMPARE(listwin::list(w)->count(), 0);
        QVERIFY(cmb->currentText().isEmpty());

        // Picking for an activity: the general list, whatever the last mode.
        // What it leaves of the activity window's modes: tst_resourceflow.
        listwin::list(w)->setToolTip("altro");
        o.activate(o.main); // the activity window's button is pressed elsewhere
        o.main->openPickList(r.kind);
        open(o, r);
        QCOMPARE(o.ctx.g.*r.mode, modes::PairList::GA);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowTitle(), r.title + " - Elenco generale");
        QVERIFY(listwin::list(w)->toolTip().isEmpty());
        QVERIFY(!listwin::cmdcerca(w)->isVisible() && !cmb->isVisible());
        QCOMPARE(shown(w), r.framed(r.records));
        // The heading and the empty line are no resource.
        for (int row : {0, 1, 3, 6}) listwin::choose(w, row);
        QCOMPARE(offered, (QList<QPair<ResourceKind, QString>>{{r.kind, r.records.at(1)},
                                                               {r.kind, r.records.at(4)}}));

        // The general list is read anew: a missing archive (an empty one reads the
        // same: tst_damaged) leaves the heading and one empty line, and is not created.
        o.fake.prompts.clear(); // the picks above had no activity to go to
        QFile::remove(o.path(r.archive));
        open(o, r, r.general);
        QCOMPARE(shown(w), r.framed({}));
        QVERIFY(!o.exists(r.archive));
        QVERIFY(o.fake.prompts.shown.isEmpty());
    }

    // The one landscape page through PDF, where no printer is installed: the
    // program asks, saves where the user says (it adds ".pdf") and tells
    // where. The other printouts go through the recording printer.
    void printsToPdfWhereNoPrinterIsInstalled()
    {
        if (!QPrinterInfo::availablePrinters().isEmpty()) QSKIP("a printer is installed here");
        const Reg &r = lists().front();
        Office o;
        auto *w = open(o, r, r.general);
        QtLinePrinter printer(o.fake.prompts, o.ctx.folder);
        o.ctx.platform.printer = &printer;
        o.fake.prompts.answers << true;
        o.fake.prompts.files << o.path("elenco");
        listwin::click(w, "cmdstampa");
        const QString pdf = o.path("elenco.pdf");
        SKIP_PDF_TEXT_ON_WINDOWS(pdf);
        const PdfText got = readPdf(pdf);
        QVERIFY(got.landscape);
        QVERIFY2(qAbs(got.points - 8) < 0.5, qPrintable(QString::number(got.points)));
        QCOMPARE(simplified(got.lines), simplified(r.framed(r.records)));
        QCOMPARE(o.fake.prompts.texts(), QStringList({"Nessuna stampante installata. Salvo la stampa in un file PDF?",
                                                      "Salva stampa", "Stampa salvata nel file " + pdf + "."}));
        QCOMPARE(o.fake.prompts.shown.at(1).filter, QString("File PDF (*.pdf)"));
        QCOMPARE(o.fake.busy.depth, 0);
    }

private:
    static void registers()
    {
        QTest::addColumn<int>("reg");
        for (int i = 0; i < int(lists().size()); ++i) QTest::newRow(lists()[i].name) << i;
    }
};

QTEST_MAIN(TestPairLists)
#include "tst_pairlists.moc"
