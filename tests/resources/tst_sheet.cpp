#include "pickoffice.h"

#include "activities/sheet.h"
#include "app/qtplatform.h"
#include "pdftext.h"

#include <QDir>
#include <QPrinterInfo>

using archive::File;

namespace {

// The sheet of an activity typed as fillRequest() types it, up to its notes.
QStringList head(const char *numprot, const char *start = "", const char *startTime = "")
{
    return {QString::fromUtf8("    Foglio di accompagnamento per l'attività N.") + numprot, "", "",
            "    Data richiesta: 05/03/2025      ora richiesta: 14.30",
            QString("    Data inizio   : %1      ora inizio   : %2").arg(start, startTime),
            "    Data fine     :       ora fine     : ", "", QString::fromUtf8("    Località      : roma"),
            "    Richiedente   : rossi", "", QString::fromUtf8("    Tipo attività : incendio")};
}
const QStringList kResourcesHeading{"", "", "    Risorse utilizzate : ", ""};

} // namespace

class TestSheet : public QObject {
    Q_OBJECT
private slots:
    // The sheet of the window as it stands, not registered; with no printer
    // installed, the one round trip of a portrait printout through the real
    // printer: the user is offered a PDF file instead.
    void printsWhatTheWindowShows()
    {
        PickOffice o;
        Formattivita *w = o.openInsert();
        o.fillRequest();
        typeText(w, "datain", "5/3/2025");
        typeText(w, "orain", "15.00");
        o.add("cmdauto", ResourceKind::Vehicle, vehicleListLine("ALFA", "JEEP", "L"));
        o.add("cmdvol", ResourceKind::Association, associationListLine("ALFA", 10), "2");
        const QString alfa = QString("ALFA").leftJustified(50);
        w->session().append("VOL>      0   " + alfa + " MARIO ROSSI");
        o.activate(w);
        press(w, "cmdstacc");
        QCOMPARE(o.fake.printer.jobs.size(), 1);
        const RecordingPrinter::Job &job = o.fake.printer.jobs.first();
        QCOMPARE(jobSetup(job), printSetup(10, Orientation::Portrait));
        const QStringList sheet = head("7", "5/3/2025", "15.00") << "    Note          : " << kResourcesHeading;
        const QStringList resources{"   AUTO      1   " + vehicleListLine("ALFA", "JEEP", "L"),
                                    "   VOL.      2   " + alfa, "   VOL>      0   " + alfa + " MARIO ROSSI"};
        QCOMPARE(job.lines, sheet + resources);
        QCOMPARE(o.fake.busy.depth, 0);
        QVERIFY(o.fake.busy.pushes > 0);
        QVERIFY(o.fake.prompts.shown.isEmpty());

        if (!QPrinterInfo::availablePrinters().isEmpty()) QSKIP("a printer is installed here");
        QtLinePrinter printer(o.fake.prompts, o.ctx.folder);
        o.ctx.platform.printer = &printer;
        o.fake.prompts.answers.enqueue(false);
        press(w, "cmdstacc");
        const QString offer = "Nessuna stampante installata. Salvo la stampa in un file PDF?";
        QCOMPARE(o.fake.prompts.questions(), QStringList({offer}));
        QCOMPARE(QDir(o.dir()).entryList({"*.pdf"}), QStringList());

        // "Yes" and a name without its ending: saved as foglio.pdf (what the
        // user is told on the way is tst_pairlists', the same printer).
        o.fake.prompts.clear();
        o.fake.prompts.answers.enqueue(true);
        o.fake.prompts.files.enqueue(o.path("foglio"));
        press(w, "cmdstacc");
        SKIP_PDF_TEXT_ON_WINDOWS(o.path("foglio.pdf"));
        const PdfText read = readPdf(o.path("foglio.pdf"));
        QVERIFY(read.ok);
        QVERIFY(!read.landscape);
        QVERIFY2(qAbs(read.points - 10) < 0.5, qPrintable(QString::number(read.points)));
        // A resource line is wider than a portrait page at 10 points: the page
        // shows it up to its right edge, inside the description.
        QCOMPARE(simplified(read.lines),
                 simplified(sheet) << "AUTO 1 ALFA JEEP"
                                   << "VOL. 2 ALFA"
                                   << "VOL> 0 ALFA MARIO ROSSI");
    }

    void notesOnOneLineOrTwo_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<QStringList>("printed");
        const QString fifty = "abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwx";
        const QString next = "yzabcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuv";
        const QString note = "    Note          : ", more = "                  : ";
        QTest::newRow("50") << 50 << QStringList{note + fifty};
        QTest::newRow("51") << 51 << QStringList{note + fifty, more + "y"};
        QTest::newRow("130: cut at 100") << 130 << QStringList{note + fifty, more + next};
    }

    void notesOnOneLineOrTwo()
    {
        QFETCH(int, length);
        QFETCH(QStringList, printed);
        sheet::Fields f;
        f.numprot = "3", f.loc = "roma", f.ric = "rossi", f.tipoatt = "incendio";
        f.datari = "05/03/2025", f.orari = "14.30";
        for (int i = 0; i < length; ++i) f.note += QChar('a' + i % 26);
        QCOMPARE(sheet::lines(f), head("3") + printed + kResourcesHeading);
    }
};

QTEST_MAIN(TestSheet)
#include "tst_sheet.moc"
