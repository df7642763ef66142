// Saving, restoring and emptying whole archives from the main window's menu.
// Saving and restoring are one sequence in the code: a cancel, a write or a
// read that fails end it whichever way it copies.
#include "mainoffice.h"
#include "pickoffice.h"

#include "activities/formattivita.h"

using archive::File;
using Kind = FakePrompts::Shown::Kind;

namespace {

const QStringList kNames{"associazioni", "Attrezzature", "Automezzi", QString::fromUtf8("Attività"),
                         QString::fromUtf8("Risorse di Attività"), "Numero protocollo"};
QStringList each(const char *pattern, bool capital = false) {
    QStringList out;
    for (QString n : kNames) out << QString::fromUtf8(pattern).arg(capital ? n.replace(0, 1, n[0].toUpper()) : n);
    return out;
}
const QStringList kSaveQuestions = each("Salvo l'archivio %1?");
const QStringList kRestoreQuestions = each("Ripristino l'archivio %1?");
const QString kResetFirst = QString::fromUtf8("L'azzeramento svuoterà gli archivi attuali. Continuo?");
const QString kDone = "Azzeramento archivi richiesti effettuato.";

struct Office : MainOffice {
    Office() {
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
    void run(const char *entry, QList<bool> yes, const QStringList &files = {}) {
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
    void saveCopiesWhatIsChosenAndEndsAtACancelOrFailure() {
        Office o;
        const auto before = o.files();
        o.run("mnsalvaarc", {false, false, false, false, false, false});
        QCOMPARE(o.fake.prompts.texts(), kSaveQuestions);
        QCOMPARE(o.files(), before);

        // An existing file is replaced without asking.
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

    void savedSetRestoresByteForByte() {
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

    void resetEmptiesWhatIsAnsweredYesAndNamesWhatItCannot() {
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
    // under restored registers: restore and reset wait until it is registered or left.
    void refusedWhileTheActivityWindowHoldsResources() {
        Office o;
        auto *activity = o.fromMenu<Formattivita>("mnattains");
        press(activity, "cmdattr");
        picking::offerResource(o.ctx, ResourceKind::Equipment, equipmentListLine("ALFA", "TENDA", "L", 3));
        typeText(o.windows->get<Formris>(), "qta", "2");
        press(o.windows->get<Formris>(), "cmdaggiungi");
        QCOMPARE(o.read(File::Attrezzature), crlf({"ALFA,TENDA,L, 1 "}));
        const auto before = o.files();
        for (const char *entry : {"mnriparc", "mnripazze"}) {
            o.run(entry, {});
            QCOMPARE(o.fake.prompts.texts().size(), 1);
            QVERIFY(o.fake.prompts.texts().first().contains("non ancora registrate"));
            QCOMPARE(o.files(), before);
        }
        o.activate(activity);
        press(activity, "cmdesci");
        o.run("mnripazze", {false});
        QCOMPARE(o.fake.prompts.texts(), QStringList{kResetFirst});
    }
};

QTEST_MAIN(TestMaintenance)
#include "tst_maintenance.moc"
