// Saving, restoring and emptying whole archives from the main window's menu.
// Saving and restoring are one sequence in the code: a cancel, a write or a
// read that fails end it whichever way it copies. Like a printout saved as
// PDF, neither ever writes or reads one of the folder's own files.
#include "mainoffice.h"
#include "pickoffice.h"

#include "activities/formattivita.h"
#include "app/qtplatform.h"
#include "vehicles/formautolist.h"

#include <QFileDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTimer>

using archive::File;
using Kind = FakePrompts::Shown::Kind;

namespace {

const QStringList kNames{"associazioni", "Attrezzature", "Automezzi", QString::fromUtf8("Attività"),
                         QString::fromUtf8("Risorse di Attività"), "Numero protocollo"};
QStringList each(const char *pattern, bool capital = false)
{
    QStringList out;
    for (QString n : kNames) out << QString::fromUtf8(pattern).arg(capital ? n.replace(0, 1, n[0].toUpper()) : n);
    return out;
}
const QStringList kSaveQuestions = each("Salvo l'archivio %1?");
const QStringList kRestoreQuestions = each("Ripristino l'archivio %1?");
const QString kResetFirst = QString::fromUtf8("L'azzeramento svuoterà gli archivi attuali. Continuo?");
const QString kDone = "Azzeramento archivi richiesti effettuato.";

struct Office : MainOffice {
    Office()
    {
        write(File::Associazioni, crlf({"ALFA,VIA A,,,,,,, 10 , 10 ", w1252("CITTÀ,,,,,,,, 2 , 2 ")}));
        write(File::Attrezzature, crlf({"ALFA,TENDA,L, 3 "}));
        write(File::Automezzi, crlf({"ALFA,JEEP,,,,,,,L"}));
        write(File::Attivita, crlf({" 1 ,01/01/2025,10.00,,,,,A,B,C,,A", "2,01/01/2025,10.00,01/01/2025,10.30,,,A,B,C,,A"}));
        write(File::Risorse, crlf({" 1 ,AUTO,    1 ,ALFA,JEEP,O"}));
        write(File::NumeroProt, crlf({" 2 "}));
        write(File::Volontari, crlf({"ALFA,ROSSI,MARIO,,,,,,,"}));
        write(File::Emergenza, crlf({"ALLUVIONE"}));
        write(File::AssociazioniSav, crlf({"SAV"}));
        write(File::RisorseSav, crlf({"SAV RISORSE"}));
        activate(main);
        QVERIFY(QDir(dir()).mkpath("copie"));
    }
    // Every file dialog opens at the working folder, for any file.
    void run(const char *entry, QList<bool> yes, const QStringList &files = {})
    {
        fake.prompts.clear();
        for (bool y : yes) fake.prompts.answers.enqueue(y);
        for (const QString &f : files) fake.prompts.files.enqueue(f.isEmpty() ? f : backup(f));
        main->action(entry)->trigger();
        QCOMPARE(fake.prompts.unexpected, 0);
        QCOMPARE(fake.busy.depth, 0);
        QVERIFY(!fake.prompts.busyAtPrompt.contains(true));
        titles.clear();
        for (const auto &s : fake.prompts.shown)
            if (s.kind == Kind::OpenFile || s.kind == Kind::SaveFile) {
                QCOMPARE(s.kind, qstrcmp(entry, "mnsalvaarc") ? Kind::OpenFile : Kind::SaveFile);
                QCOMPARE(s.filter, QString("*.*"));
                QCOMPARE(QDir(s.folder).canonicalPath(), QDir(dir()).canonicalPath());
                titles << s.text;
            }
    }
    QString backup(const QString &name) const { return path("copie/" + name); }
    int listed(const char *list) const { return main->findChild<LineList *>(list)->count(); }
    QStringList titles; // of the file dialogs shown by the last run()
};

} // namespace

class TestMaintenance : public QObject {
    Q_OBJECT
private slots:
    void saveCopiesWhatIsChosenAndEndsAtACancelOrFailure()
    {
        Office o;
        const auto before = o.files();
        o.run("mnsalvaarc", {false, false, false, false, false, false});
        QCOMPARE(o.fake.prompts.texts(), kSaveQuestions);
        QCOMPARE(o.files(), before);

        // An existing file is replaced (the real dialog asked first).
        o.write(File::Automezzi, "ALFA,JEEP,,,,,,,L\nBETA,FURGONE,,,,,,,A\rGAMMA,BUS,,,,,,,L");
        o.write("copie/mezzi.bak", "vecchio contenuto\r\n");
        o.run("mnsalvaarc", {false, false, true, false, false, false}, {"mezzi.bak"});
        QCOMPARE(o.read("copie/mezzi.bak"), crlf({"ALFA,JEEP,,,,,,,L", "BETA,FURGONE,,,,,,,A", "GAMMA,BUS,,,,,,,L"}));
        QCOMPARE(o.fake.prompts.texts(),
                 kSaveQuestions.mid(0, 3) + QStringList({"Archivio Automezzi", "Archivio Automezzi salvato."}) + kSaveQuestions.mid(3));

        o.run("mnsalvaarc", {true, true}, {"ass.bak", ""});
        QCOMPARE(o.fake.prompts.questions(), kSaveQuestions.mid(0, 2));
        QCOMPARE(o.fake.prompts.messages(), QStringList({"Archivio Associazioni salvato."}));

        // A read-only backup is kept, and ends the sequence.
        o.write("copie/ro.bak", "COPIA PRECEDENTE\r\n");
        setReadOnly(o.backup("ro.bak"));
        o.run("mnsalvaarc", {true}, {"ro.bak"});
        QCOMPARE(o.read("copie/ro.bak"), QByteArray("COPIA PRECEDENTE\r\n"));
        QCOMPARE(o.fake.prompts.texts().size(), 3); // the question, the dialog, the message
        QVERIFY(o.fake.prompts.texts()[2].startsWith("Salvataggio non riuscito. Impossibile scrivere il file ro.bak"));
    }

    void savedSetRestoresByteForByte()
    {
        Office o;
        const auto before = o.files();
        o.run("mnriparc", {true}, {"manca.bak"});
        QCOMPARE(o.files(), before);
        QCOMPARE(o.fake.prompts.texts(), QStringList({kRestoreQuestions[0], "Archivio Associazioni",
                                                      "Ripristino non riuscito. Il file manca.bak non esiste."}));

        const QStringList copies{"copia0", "copia1", "copia2", "copia3", "copia4", "copia5"};
        o.run("mnsalvaarc", {true, true, true, true, true, true}, copies);
        QCOMPARE(o.fake.prompts.messages(), each("Archivio %1 salvato.", true));
        o.run("mnripazze", {true, true, true, true, true, true, true, true});
        QCOMPARE(o.listed("List1") + o.listed("List2"), 0);
        o.run("mnriparc", {true, true, true, true, true, true}, copies);
        QCOMPARE(o.fake.prompts.questions(), kRestoreQuestions);
        QCOMPARE(o.titles,
                 QStringList({"Archivio Associazioni", "Archivio Attrezzature", "Archivio Automezzi",
                              QString::fromUtf8("Archivio Attività"), QString::fromUtf8("Archivio Risorse di attività"),
                              "Archivio Numero Protocollo"}));
        QCOMPARE(o.fake.prompts.messages(), each("Archivio %1 ripristinato.", true));
        // Volunteers are not part of a saved set; snapshots part of neither.
        auto expected = before;
        expected["volontari.csv"] = "";
        QCOMPARE(o.files(), expected);
        QCOMPARE(o.listed("List1"), 1);
        QCOMPARE(o.listed("List2"), 1);
    }

    void resetEmptiesWhatIsAnsweredYesAndNamesWhatItCannot()
    {
        Office o;
        const auto before = o.files();
        o.run("mnripazze", {false});
        QCOMPARE(o.fake.prompts.texts(), QStringList({kResetFirst}));
        QCOMPARE(o.files(), before);
        o.run("mnripazze", {true, false, false, false, false, false, false, false});
        QCOMPARE(o.fake.prompts.texts(),
                 QStringList({kResetFirst, "Azzero l'archivio Associazioni?", "Azzero l'archivio Volontari?",
                              "Azzero l'archivio Automezzi?", "Azzero l'archivio Attrezzature?",
                              "Azzero l'archivio numero protocollo?", QString::fromUtf8("Azzero l'archivio Attività?"),
                              "Azzero l'archivio Risorse?", kDone}));
        QCOMPARE(o.files(), before);

        // A new activity is then number 1.
        o.ctx.g.ultimoprot = 2;
        o.run("mnripazze", {true, true, false, false, false, true, false, false});
        auto expected = before;
        expected["associazioni.csv"] = "";
        expected["numeroprot.dat"] = " 0 \r\n";
        QCOMPARE(o.files(), expected);
        auto *activity = o.fromMenu<Formattivita>("mnattains");
        QCOMPARE(activity->findChild<QLineEdit *>("numprot")->text(), QString("1"));
        press(activity, "cmdesci");

        // A file that cannot be emptied is named, and the next question still
        // asked; snapshots are never part of a reset.
        o.write(File::AssociazioniSav, crlf({"SAV"}));
        o.write(File::RisorseSav, crlf({"SAV RISORSE"}));
        expected = o.files();
        setReadOnly(o.path(File::Automezzi));
        o.run("mnripazze", {true, true, true, true, true, true, true, true});
        for (const char *name : {"associazioni.csv", "volontari.csv", "attrezzature.csv", "attivita.csv", "risorse.csv"})
            expected[name] = "";
        QCOMPARE(o.files(), expected);
        const QStringList m = o.fake.prompts.messages();
        QCOMPARE(m.size(), 1);
        QVERIFY(m.first().startsWith(QString::fromUtf8(
            "Azzeramento non completo.\nArchivi svuotati: Associazioni, Volontari, Attrezzature, Numero protocollo, "
            "Attività, Risorse.\nArchivi rimasti com'erano: Automezzi.\n\nImpossibile scrivere il file automezzi.csv")));
    }

    // What the activity window took and has not registered would count twice
    // under restored registers, and a backup would not match: save, restore and reset
    // wait until it is registered or left (restore and reset until the window is left).
    void refusedWhileTheActivityWindowHoldsResources()
    {
        Office o;
        auto *activity = o.fromMenu<Formattivita>("mnattains");
        press(activity, "cmdattr");
        o.main->offerPicked(ResourceKind::Equipment, equipmentListLine("ALFA", "TENDA", "L", 3));
        typeText(o.windows->get<Formris>(), "qta", "2");
        press(o.windows->get<Formris>(), "cmdaggiungi");
        QCOMPARE(o.read(File::Attrezzature), crlf({"ALFA,TENDA,L, 1 "}));
        const auto before = o.files();
        for (const char *entry : {"mnsalvaarc", "mnriparc", "mnripazze"}) {
            o.run(entry, {});
            QCOMPARE(o.fake.prompts.texts().size(), 1);
            QVERIFY(o.fake.prompts.texts().first().contains("non eseguito: "));
            QCOMPARE(o.files(), before);
        }
        o.activate(activity);
        press(activity, "cmdesci");
        o.run("mnripazze", {false});
        QCOMPARE(o.fake.prompts.texts(), QStringList{kResetFirst});
    }

    // A backup, the file an archive is restored from, and a printout saved
    // as PDF where no printer is installed: one of the working folder's own
    // files, by any name that leads to it, is refused with a message and the
    // same dialog comes back (here cancelled); no file of the folder
    // changes. Another existing file is replaced.
    void ownFilesAreRefusedAndTheDialogComesBack_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("chosen"); // in the working folder
        QTest::addColumn<bool>("refused");
        for (const char *entry : {"mnsalvaarc", "mnriparc", "cmdstampa"}) {
            for (const char *own : {"attivita.csv", "sospese.dat", "velmora.lck", "velmora.jnl", "ATTIVITA.CSV",
                                    "collegamento.csv", "giornale.csv", "copie/../numeroprot.dat", "automezzi.csv.new"})
                QTest::addRow("%s %s", entry, own) << entry << own << true;
            QTest::addRow("%s another file", entry) << entry << "copie/vecchia.pdf" << false;
        }
    }

    void ownFilesAreRefusedAndTheDialogComesBack()
    {
        QFETCH(QString, entry);
        QFETCH(QString, chosen);
        QFETCH(bool, refused);
#ifdef Q_OS_WIN
        if (chosen == "collegamento.csv" || chosen == "giornale.csv") QSKIP("QFile::link makes a shortcut file on Windows, not a second name");
#endif
        const bool pdf = entry == "cmdstampa";
        if (pdf && !QPrinterInfo::availablePrinters().isEmpty()) QSKIP("a printer is installed here");
        Office o;
        // (Save and restore wait while sospese.dat holds anything.)
        o.write(o.deskName(), entry == "cmdstampa" ? "P,1,ATTR,1,ALFA,TENDA,O\r\n" : "");
        if (chosen == "velmora.lck") o.write("velmora.lck", "4242\nrossi\n");
        QVERIFY(QFile::link("risorse.csv", o.path("collegamento.csv")));
        QVERIFY(QFile::link("velmora.jnl", o.path("giornale.csv"))); // to no file yet
        o.write("copie/vecchia.pdf", "VECCHIA COPIA\r\n");
        const auto before = o.files();

        QtLinePrinter printer(o.fake.prompts, o.ctx.folder);
        o.ctx.platform.printer = &printer;
        QWidget *list = pdf ? o.fromMenu<Formautolist>("mnautvelg") : nullptr;
        o.fake.prompts.clear();
        o.fake.prompts.answers << true << false << false << false << false << false;
        o.fake.prompts.files << o.path(chosen) << "";
        if (pdf) list->findChild<QPushButton *>("cmdstampa")->click();
        else o.main->action(qPrintable(entry))->trigger();

        const bool restoring = entry == "mnriparc";
        const QString question = pdf ? "Nessuna stampante installata. Salvo la stampa in un file PDF?"
                                     : (restoring ? kRestoreQuestions : kSaveQuestions).first();
        const QString title = pdf ? "Salva stampa" : "Archivio Associazioni";
        const QString name = QFileInfo(chosen).fileName();
        const QStringList texts = o.fake.prompts.texts();
        auto expected = before;
        if (refused) {
            const QString told = restoring ? "Il file " + name + QString::fromUtf8(" è un archivio del programma e "
                                                                                   "non può essere usato per il ripristino: scegliere un altro file.")
                                           : "Il file " + name + QString::fromUtf8(" è un archivio del programma: "
                                                                                   "scegliere un altro nome.");
            QCOMPARE(texts, QStringList({question, title, told, title}));
        } else {
            const QString done = pdf         ? "Stampa salvata nel file " + o.path(chosen) + "."
                                 : restoring ? "Archivio Associazioni ripristinato."
                                             : "Archivio Associazioni salvato.";
            QCOMPARE(texts.mid(0, 3), QStringList({question, title, done}));
            const QByteArray copy = o.read("copie/vecchia.pdf");
            if (pdf) QVERIFY(copy.startsWith("%PDF"));
            else if (restoring) expected["associazioni.csv"] = copy;
            else QCOMPARE(copy, before["associazioni.csv"]);
        }
        QCOMPARE(o.files(), expected);
        QCOMPARE(o.fake.busy.depth, 0);
    }

    // The real save dialog asks before it lets an existing file be replaced.
    void theSaveDialogAsksBeforeReplacing()
    {
        bool asks = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *d = qobject_cast<QFileDialog *>(w); d && d->isVisible()) {
                    asks = d->acceptMode() == QFileDialog::AcceptSave
                           && !d->testOption(QFileDialog::DontConfirmOverwrite);
                    d->reject();
                }
        });
        poll.start(20);
        QtPrompts prompts;
        QCOMPARE(prompts.saveFile("Archivio Associazioni", QDir::tempPath(), "*.*"), QString());
        QVERIFY(asks);
    }
};

QTEST_MAIN(TestMaintenance)
#include "tst_maintenance.moc"
