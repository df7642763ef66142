// The menu "Rapporti" and its three windows: rebuilt on activation, the
// association chosen, printed (read back through PDF), saved as CSV; all of
// it also when the folder is open for consultation only.
#include "reportoffice.h"

#include "app/formvelmo.h"
#include "ui/linelist.h"
#include "archive/io.h"
#include "app/qtplatform.h"
#include "printing/printout.h"
#include "reports/attendance.h"
#include "reports/board.h"
#include "reports/engagement.h"
#include "reports/formdiario.h"
#include "reports/formnota.h"
#include "reports/formrapimpiego.h"
#include "reports/formrappresenze.h"
#include "reports/formrapquadro.h"
#include "pdftext.h"
#include "widgets.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QBarSet>
#include <QChartView>
#include <QComboBox>
#include <QGraphicsSimpleTextItem>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

using archive::File;

namespace {

struct Desk : TestOffice {
    explicit Desk(bool consultation = false)
    {
        writeReportArchives(*this);
        write(File::Emergenza, "PIENA\r\n");
        fake.clock.time = QDateTime(kReportDay, QTime(12, 0));
        ctx.consultation = consultation;
        if (consultation) archive::setConsultationFolder(dir());
        main = windows->get<Formvelmo>();
        activate(main);
    }
    ~Desk() { archive::setConsultationFolder(QString()); }

    template <class W>
    W *open(const char *entry)
    {
        activate(main);
        QAction *a = main->action(entry);
        if (!a || !a->isEnabled()) return nullptr;
        a->trigger();
        W *w = windows->get<W>();
        if (!QTest::qWaitFor([&] { return ctx.lastActive == w; }, 200)) activate(w);
        return w;
    }
    void click(QWidget *w, const char *button)
    {
        QTest::mouseClick(w->findChild<QPushButton *>(button), Qt::LeftButton);
    }
    // Presses `button` with the program's printer writing the PDF `name`, as
    // where no printer is installed; the PDF's path.
    QString printPdf(QWidget *w, const char *button, const char *name)
    {
        pdfPrinter = std::make_unique<QtLinePrinter>(fake.prompts, ctx.folder);
        pdfPrinter->setPdfOutput(path(name));
        ctx.platform.printer = pdfPrinter.get();
        click(w, button);
        return path(name);
    }

    Formvelmo *main;
    std::unique_ptr<QtLinePrinter> pdfPrinter;
};

QStringList shown(QWidget *w) { return lineTexts(w->findChild<QAbstractItemView *>("List1")); }
QString heading(QWidget *w) { return w->findChild<QLabel *>("Label1")->text(); }

// The numbers written beside the bars of a chart, from the top.
QStringList barNumbers(QWidget *w, const char *view)
{
    QList<QGraphicsSimpleTextItem *> items;
    for (QGraphicsItem *item : w->findChild<QChartView *>(view)->chart()->childItems())
        if (auto *t = dynamic_cast<QGraphicsSimpleTextItem *>(item)) items << t;
    std::sort(items.begin(), items.end(), [](auto *a, auto *b) { return a->y() < b->y(); });
    QStringList out;
    for (auto *t : items) out << t->text();
    return out;
}

QStringList attendanceLines(const reports::Attendance &a, const QString &between)
{
    QStringList out;
    for (const QStringList &b : reports::attendanceBlocks(a)) {
        if (!out.isEmpty()) out << between;
        out << b;
    }
    return out;
}

QStringList withoutEmpty(QStringList lines)
{
    lines.removeAll(QString());
    return simplified(lines);
}

} // namespace

class TestReportWindows : public QObject {
    Q_OBJECT
private slots:
    void menuOpensTheThreeWindows()
    {
        Desk o;
        // "Rapporti" follows "Attività" in the menu bar.
        QStringList menus;
        for (QAction *a : o.main->menuBar()->actions()) menus << a->objectName();
        QCOMPARE(menus.indexOf("mnrap"), menus.indexOf("mnatt") + 1);

        auto *board = o.open<Formrapquadro>("mnrapquadro");
        QVERIFY(board && board->isVisible());
        QCOMPARE(board->windowTitle(), QString("Rapporti - Quadro della situazione"));
        QCOMPARE(heading(board), QString("PIENA - QUADRO DELLA SITUAZIONE AL 10/12/2026"));

        auto *engagement = o.open<Formrapimpiego>("mnrapimpiego");
        QCOMPARE(engagement->windowTitle(), QString("Rapporti - Impiego per associazione"));
        QCOMPARE(heading(engagement), QString("Emergenza: PIENA"));
        const reports::Engagement e = reports::buildEngagement(o.ctx.folder, "PIENA", kReportDay);
        QCOMPARE(shown(engagement), reports::engagementLines(e));
        QCOMPARE(entries(engagement->findChild<QComboBox *>("cmbass")),
                 (QStringList{"Tutte le associazioni", "ALFA", "GAMMA NUOVA", "ZETA", "GAMMA"}));

        auto *attendance = o.open<Formrappresenze>("mnrappresenze");
        QCOMPARE(attendance->windowTitle(), QString("Rapporti - Presenze dei volontari"));
        QCOMPARE(shown(attendance),
                 attendanceLines(reports::buildAttendance(o.ctx.folder, "PIENA", kReportDay), QString(80, '_') + "\n").join('\n').split('\n'));
        QCOMPARE(o.fake.prompts.shown.size(), 0);
        QCOMPARE(o.fake.busy.depth, 0);
    }

    void rebuiltOnActivationWithTheChosenAssociation()
    {
        Desk o;
        auto *w = o.open<Formrapimpiego>("mnrapimpiego");
        auto *cmbass = w->findChild<QComboBox *>("cmbass");
        QVERIFY(chooseEntry(cmbass, "GAMMA NUOVA"));
        QCOMPARE(shown(w), reports::engagementLines(reports::buildEngagement(o.ctx.folder, "PIENA", kReportDay), 1));
        QVERIFY(shown(w).contains("TOTALI: 1 attività, 1 volontario, 9 volontari-giorno, 0 automezzi, 0 pezzi"));

        // Another window registers meanwhile; coming back rebuilds the report
        // and keeps the association chosen.
        o.write(File::Risorse, o.read(File::Risorse) + "3,VOL.,2,GAMMA NUOVA,,O\r\n");
        o.activate(o.main);
        o.activate(w);
        QCOMPARE(cmbass->currentText(), QString("GAMMA NUOVA"));
        QVERIFY(shown(w).contains("TOTALI: 2 attività, 3 volontari, 9 volontari-giorno, 0 automezzi, 0 pezzi"));
        // The same window activated again after its own message is no new
        // activation: nothing is rebuilt.
        o.write(File::Risorse, QByteArray());
        QApplication::sendEvent(w, new QEvent(QEvent::WindowActivate));
        QVERIFY(shown(w).contains("TOTALI: 2 attività, 3 volontari, 9 volontari-giorno, 0 automezzi, 0 pezzi"));
    }

    void boardCharts()
    {
        Desk o;
        auto *w = o.open<Formrapquadro>("mnrapquadro");
        // Every bar carries its number, a 0 too; per association the available
        // above the engaged, the most engaged association first.
        QCOMPARE(barNumbers(w, "graficovol"), (QStringList{"0", "3", "5", "1", "8", "0", "0", "0"}));
        QCOMPARE(barNumbers(w, "graficoauto"), (QStringList{"1", "1", "1", "1"}));
        QCOMPARE(barNumbers(w, "graficoattr"), (QStringList{"30", "2", "0", "0"}));
        QCOMPARE(barNumbers(w, "graficoatt"), (QStringList{"1", "1", "2", "1"}));
        auto *series = qobject_cast<QHorizontalBarSeries *>(
            w->findChild<QChartView *>("graficoatt")->chart()->series().value(0));
        QVERIFY(series);
        QCOMPARE(series->barSets().value(0)->at(3), 1.0); // requested, on top
        QCOMPARE(w->findChild<QLabel *>("Label2")->text(),
                 QString("Righe illeggibili non considerate: associazioni.csv 1, attivita.csv 1, risorse.csv 1."));
    }

    void printouts_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::newRow("board") << "mnrapquadro";
        QTest::newRow("engagement") << "mnrapimpiego";
        QTest::newRow("attendance") << "mnrappresenze";
    }

    void printouts()
    {
        QFETCH(QString, entry);
        Desk o;
        QWidget *w = entry == "mnrapquadro"    ? static_cast<QWidget *>(o.open<Formrapquadro>("mnrapquadro"))
                     : entry == "mnrapimpiego" ? static_cast<QWidget *>(o.open<Formrapimpiego>("mnrapimpiego"))
                                               : static_cast<QWidget *>(o.open<Formrappresenze>("mnrappresenze"));
        // The printer asked for, as the recording double sees it.
        o.click(w, "cmdstampa");
        QCOMPARE(o.fake.printer.jobs.size(), 1);
        const RecordingPrinter::Job job = o.fake.printer.jobs.first();

        // Through PDF, as the program prints where no printer is installed.
        const QString pdf = o.printPdf(w, "cmdstampa", "stampa.pdf");
        SKIP_PDF_TEXT_ON_WINDOWS(pdf);
        const PdfText got = readPdf(pdf);
        QVERIFY(got.ok);
        QCOMPARE(o.fake.prompts.shown.size(), 0);
        QCOMPARE(o.fake.busy.depth, 0);

        if (entry == "mnrapquadro") {
            QVERIFY(job.drawn && job.ended && job.orientation == Orientation::Landscape);
            QVERIFY(got.landscape);
            QCOMPARE(got.pages, 1);
            const QString text = got.lines.join('\n');
            for (const char *t : {"PIENA - QUADRO DELLA SITUAZIONE AL 10/12/2026", "Volontari per associazione",
                                  "Automezzi per stato", "Attrezzature più impegnate (pezzi)", "Iniziate, non chiuse",
                                  "Righe illeggibili non considerate: associazioni.csv 1"})
                QVERIFY2(text.contains(QString::fromUtf8(t)), t);
        } else if (entry == "mnrapimpiego") {
            QCOMPARE(jobSetup(job), printSetup(10, Orientation::Landscape));
            QCOMPARE(job.lines, shown(w));
            QVERIFY(got.landscape);
            QCOMPARE(withoutEmpty(got.lines), withoutEmpty(shown(w)));
        } else {
            // One page per volunteer, to be signed, and the note on the last.
            QCOMPARE(jobSetup(job), printSetup(10, Orientation::Portrait));
            const reports::Attendance a = reports::buildAttendance(o.ctx.folder, "PIENA", kReportDay);
            QCOMPARE(job.lines, attendanceLines(a, printing::newPage()));
            QVERIFY(!got.landscape);
            QCOMPARE(got.pages, 5);
            QCOMPARE(withoutEmpty(got.lines), withoutEmpty(attendanceLines(a, QString())));
        }
    }

    // ROSSI MARIO also served 40 days in a row in the autumn: the 10 after
    // the 30th are beyond the limits, which the national emergency raises.
    void legalLimitsAndCertificates()
    {
        Desk o;
        o.write(File::Attivita, o.read(File::Attivita) + "10,01/10/2026,07.00,01/10/2026,08.00,09/11/2026,18.00,ESERCITAZIONE,FIRENZE,ROSSI,,C\r\n");
        o.write(File::Risorse, o.read(File::Risorse) + "10,VOL>,0,ALFA,ROSSI MARIO,L\r\n");
        auto *w = o.open<Formrappresenze>("mnrappresenze");
        const QString beyond = "OLTRE I LIMITI DI LEGGE (30 giorni consecutivi, 90 nell'anno): dal 31/10/2026 al 09/11/2026";
        QCOMPARE(shown(w).filter("OLTRE I LIMITI"), QStringList{beyond});
        auto *national = w->findChild<QCheckBox *>("chknazionale");
        QVERIFY(!national->isChecked());
        QTest::mouseClick(national, Qt::LeftButton, {}, QPoint(4, national->height() / 2));
        QVERIFY(national->isChecked());
        QCOMPARE(shown(w).filter("OLTRE I LIMITI"), QStringList());
        QTest::mouseClick(national, Qt::LeftButton, {}, QPoint(4, national->height() / 2));

        // Nothing selected: all of them, after the question.
        o.fake.prompts.answers << false;
        o.click(w, "cmdattestati");
        QCOMPARE(o.fake.prompts.questions(), QStringList{"Stampare gli attestati di tutti i volontari?"});
        QCOMPARE(o.fake.printer.jobs.size(), 0);
        o.fake.prompts.answers << true;
        o.click(w, "cmdattestati");
        QCOMPARE(o.fake.printer.jobs.size(), 1);
        QCOMPARE(o.fake.printer.jobs[0].lines.count(printing::newPage()), 4); // ROSSI 1, 2, 10; VERDI 2, 2

        // The line of a volunteer's block selected: his certificates, one per
        // page, for the activities whose days are told (not 4, not 5).
        clickLine(w->findChild<QAbstractItemView *>("List1"), int(shown(w).indexOf("Volontario  : ROSSI MARIO")) + 3);
        o.fake.prompts.shown.clear();
        const QString pdf = o.printPdf(w, "cmdattestati", "attestati.pdf");
        QCOMPARE(o.fake.prompts.shown.size(), 0);
        SKIP_PDF_TEXT_ON_WINDOWS(pdf);
        const PdfText got = readPdf(pdf);
        QVERIFY(got.ok);
        QCOMPARE(got.pages, 3);
        const QString text = withoutEmpty(got.lines).join(' ');
        QCOMPARE(text.count("ATTESTATO DI PARTECIPAZIONE"), 3);
        for (const char *t : {"Emergenza : PIENA Volontario : ROSSI MARIO Associazione : ALFA",
                              "Protocollo n. : 2 Tipo : ALLUVIONE Località : PISA Periodo : dal 02/12/2026 ore 11.00, ancora in corso al 10/12/2026 Giorni di servizio: 9",
                              "Protocollo n. : 10 Tipo : ESERCITAZIONE Località : FIRENZE Periodo : dal 01/10/2026 ore 08.00 al 09/11/2026 ore 18.00 Giorni di servizio: 40 "
                              "Attenzione: i giorni dal 31/10/2026 al 09/11/2026 eccedono i limiti di legge (30 giorni consecutivi, 90 nell'anno) e non sono attestati ai fini dei benefici. "
                              "Giorni di servizio attestati ai fini dei benefici: 30",
                              "dall'art. 39 del D.Lgs. 2 gennaio 2018, n. 1 (mantenimento del posto di lavoro e rimborso al datore di lavoro). "
                              "Data ____________ Il responsabile della sala operativa ____________________________________"})
            QVERIFY2(text.contains(QString::fromUtf8(t)), t);
        QCOMPARE(text.count("Attenzione"), 1);
    }

    // The room's diary: a note from the menu's shortcut, typed and kept
    // when it cannot be written, the lines newest first and filtered, the
    // chain's state, a correction, the printout.
    void diaryAndNotes()
    {
        Desk o;
        const auto note = [&](const QString &text) {
            o.activate(o.main);
            QTest::keyClick(o.main, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
            auto *w = o.windows->get<Formnota>();
            if (!QTest::qWaitFor([&] { return o.ctx.lastActive == w; }, 200)) o.activate(w);
            auto *field = w->findChild<QLineEdit *>("txtnota");
            field->selectAll();
            typeInto(field, text);
            QTest::keyClick(field, Qt::Key_Return);
            return w;
        };
        note("Telefonata del sindaco: evacuare via Roma");
        auto *w = note("Frana in località Pian del Lago");
        QVERIFY(w->isHidden() && o.fake.prompts.shown.isEmpty());
        // A character the archives cannot hold: told, and the note stays.
        note(QString::fromUtf8("Strada chiusa → deviazione"));
        QCOMPARE(o.fake.prompts.shown.size(), 1);
        QVERIFY(w->isVisible());
        QCOMPARE(w->findChild<QLineEdit *>("txtnota")->text(), QString::fromUtf8("Strada chiusa → deviazione"));
        // Left with Esc: asked first; No keeps it.
        o.fake.prompts.answers << false;
        QTest::keyClick(w, Qt::Key_Escape);
        QVERIFY(w->isVisible());
        o.fake.prompts.answers << true;
        QTest::keyClick(w, Qt::Key_Escape);
        QVERIFY(w->isHidden());
        QCOMPARE(o.fake.prompts.questions(), QStringList(2, "La nota non è stata registrata nel diario. Abbandonarla?"));

        auto *d = o.open<Formdiario>("mnrapdiario");
        auto *chain = d->findChild<QLabel *>("lblcatena");
        QCOMPARE(chain->text(), QString("Il diario è integro (2 righe)."));
        QCOMPARE(shown(d).size(), 2);
        QVERIFY(shown(d).at(0).endsWith("  NOTA           Frana in località Pian del Lago"));
        typeInto(d->findChild<QLineEdit *>("txttesto"), "sindaco");
        QTest::keyClick(d->findChild<QLineEdit *>("txttesto"), Qt::Key_Return);
        QCOMPARE(shown(d).size(), 1);
        QVERIFY(shown(d).at(0).contains("Telefonata del sindaco"));

        // A byte changed in the first line: from there on the chain vouches
        // for nothing, and says so.
        QByteArray bytes = o.read("diario.txt");
        bytes.replace("sindaco", "prefetto");
        o.write("diario.txt", bytes);
        QTest::keyClick(d, Qt::Key_F5);
        QVERIFY(chain->text().startsWith("Il diario è stato alterato a partire dalla riga 1"));
        QCOMPARE(shown(d), QStringList());
        d->findChild<QLineEdit *>("txttesto")->clear();
        QTest::keyClick(d->findChild<QLineEdit *>("txttesto"), Qt::Key_Return);
        QCOMPARE(shown(d).size(), 2);
        QCOMPARE(shown(d).at(0).mid(50, 1), QString("!"));

        // A correction names the line it corrects.
        clickLine(d->findChild<QAbstractItemView *>("List1"), 1);
        o.click(d, "cmdrettifica");
        QVERIFY(o.windows->get<Formnota>()->findChild<QLineEdit *>("txtnota")->text().startsWith("Rettifica della riga 1 del "));
        o.windows->get<Formnota>()->hide();

        const QString pdf = o.printPdf(d, "cmdstampa", "diario.pdf");
        SKIP_PDF_TEXT_ON_WINDOWS(pdf);
        const PdfText got = readPdf(pdf);
        QVERIFY(got.ok);
        QCOMPARE(withoutEmpty(got.lines).mid(0, 2), (QStringList{"DIARIO DI SALA - Emergenza: PIENA", chain->text()}));
        QStringList words;
        for (const QString &line : shown(d)) words << line.simplified();
        QCOMPARE(withoutEmpty(got.lines).mid(2), words);
    }

    void savedAsCsv_data()
    {
        QTest::addColumn<bool>("consultation");
        QTest::addColumn<QString>("answer");  // file chosen in the dialog ("" = cancelled)
        QTest::addColumn<QString>("written"); // the file that must hold the report
        QTest::addColumn<QString>("message");
        const QString elsewhere = QDir::temp().filePath("velmora-rapporto-test.csv");
        QTest::newRow("in the working folder, suffix added") << false << "@/impiego"
                                                             << "@/impiego.csv"
                                                             << "Rapporto salvato nel file @/impiego.csv.";
        QTest::newRow("cancelled") << false << ""
                                   << ""
                                   << "";
        QTest::newRow("never over an archive") << false << "@/attivita.csv"
                                               << ""
                                               << "Il file attivita.csv è un archivio del programma: scegliere un altro nome.";
        QTest::newRow("never over what the program keeps beside the archives") << false << "@/sospese.dat"
                                                                               << ""
                                                                               << "Il file sospese.dat è un archivio del programma: scegliere un altro nome.";
        for (const char *own : {"velmora.lck", "velmora.jnl", "ATTIVITA.CSV", "collegamento.csv", "risorse.sav.new"})
            QTest::addRow("nor over %s", own) << false << QString("@/") + own << ""
                                              << QString("Il file %1 è un archivio del programma: scegliere un altro nome.").arg(own);
        QTest::newRow("another existing file is replaced") << false << "@/vecchio.csv"
                                                           << "@/vecchio.csv"
                                                           << "Rapporto salvato nel file @/vecchio.csv.";
        QTest::newRow("a folder that does not exist") << false << "@/manca/impiego.csv"
                                                      << ""
                                                      << "Esportazione non riuscita. Impossibile scrivere il file impiego.csv (@/manca/impiego.csv). "
                                                         "Il file impiego.csv non è stato creato.";
        QTest::newRow("consultation: not in the working folder") << true << "@/impiego.csv"
                                                                 << ""
                                                                 << "Cartella aperta in sola consultazione: salvare il file CSV in un'altra cartella.";
        QTest::newRow("consultation: elsewhere") << true << elsewhere << elsewhere
                                                 << "Rapporto salvato nel file " + elsewhere + ".";
    }

    void savedAsCsv()
    {
        QFETCH(bool, consultation);
        QFETCH(QString, answer);
        QFETCH(QString, written);
        QFETCH(QString, message);
#ifdef Q_OS_WIN
        if (answer.endsWith("collegamento.csv")) QSKIP("QFile::link makes a shortcut file on Windows, not a second name");
#endif
        Desk o(consultation);
        for (QString *s : {&answer, &written, &message}) s->replace("@", o.dir());

        auto *w = o.open<Formrapimpiego>("mnrapimpiego");
        QVERIFY2(w, "the reports stay open for consultation");
        QVERIFY(chooseEntry(w->findChild<QComboBox *>("cmbass"), "ALFA"));
        o.write("sospese.dat", "1,ATTR,1,ALFA,TENDA,O\r\n");
        o.write("velmora.lck", "4242\nrossi\n");
        o.write("vecchio.csv", "VECCHIO\r\n");
        QVERIFY(QFile::link("risorse.csv", o.path("collegamento.csv")));
        const auto before = o.files();
        o.fake.prompts.files << answer << "";
        o.click(w, "cmdesporta");

        // A refused name brings the dialog back (cancelled here).
        const int dialogs = message.contains("archivio del programma") ? 2 : 1;
        QCOMPARE(o.fake.prompts.shown.size(), dialogs + (message.isEmpty() ? 0 : 1));
        for (const auto &s : o.fake.prompts.shown)
            if (s.kind == FakePrompts::Shown::SaveFile) QCOMPARE(s.folder, o.path("impiego.csv"));
        QCOMPARE(o.fake.prompts.messages(), message.isEmpty() ? QStringList() : QStringList{message});
        auto after = o.files(), unchanged = before;
        for (auto *files : {&after, &unchanged}) files->remove(QFileInfo(written).fileName());
        QCOMPARE(after, unchanged);
        if (!written.isEmpty()) {
            QFile f(written);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), reports::engagementCsv(
                                      reports::buildEngagement(o.ctx.folder, "PIENA", kReportDay), 0));
            f.remove();
        }
        QCOMPARE(o.fake.busy.depth, 0);
    }
};

QTEST_MAIN(TestReportWindows)
#include "tst_reportwindows.moc"
