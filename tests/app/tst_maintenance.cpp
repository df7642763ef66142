// Saving, restoring and emptying whole archives from the main window's menu,
// with every question and dialog answered through the prompt double.

#include "testkit.h"

#include "activities/formattivita.h"
#include "app/formvelmo.h"
#include "app/linelist.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

using archive::File;
using Kind = FakePrompts::Shown::Kind;

namespace {

const QStringList kSaveQuestions{
    "Salvo l'archivio associazioni?",       "Salvo l'archivio Attrezzature?",
    "Salvo l'archivio Automezzi?",          QString::fromUtf8("Salvo l'archivio Attività?"),
    QString::fromUtf8("Salvo l'archivio Risorse di Attività?"), "Salvo l'archivio Numero protocollo?"};

const QStringList kRestoreQuestions{
    "Ripristino l'archivio associazioni?", "Ripristino l'archivio Attrezzature?",
    "Ripristino l'archivio Automezzi?",    QString::fromUtf8("Ripristino l'archivio Attività?"),
    QString::fromUtf8("Ripristino l'archivio Risorse di Attività?"),
    "Ripristino l'archivio Numero protocollo?"};

const QStringList kTitles{"Archivio Associazioni", "Archivio Attrezzature", "Archivio Automezzi",
                          QString::fromUtf8("Archivio Attività"), QString::fromUtf8("Archivio Risorse di attività"),
                          "Archivio Numero Protocollo"};

const File kSaved[] = {File::Associazioni, File::Attrezzature, File::Automezzi,
                       File::Attivita,     File::Risorse,      File::NumeroProt};

const char *kDone = "Azzeramento archivi richiesti effettuato.";

struct Office : TestOffice {
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
        main = windows->get<Formvelmo>();
        activate(main);
        fake.prompts.clear();
        QVERIFY(QDir(dir()).mkpath("copie"));
    }
    void choose(const char *entry)
    {
        QAction *a = main->findChild<QAction *>(QString::fromLatin1(entry));
        QVERIFY(a);
        a->trigger();
    }
    void answer(std::initializer_list<bool> yes)
    {
        for (bool y : yes) fake.prompts.answers.enqueue(y);
    }
    QString backup(const QString &name) const { return path("copie/" + name); }
    QMap<File, QByteArray> snapshot() const
    {
        QMap<File, QByteArray> out;
        for (int i = 0; i < archive::kFileCount; ++i) {
            const File f = static_cast<File>(i);
            out[f] = read(f);
        }
        return out;
    }
    QList<FakePrompts::Shown> dialogs() const
    {
        QList<FakePrompts::Shown> out;
        for (const auto &s : fake.prompts.shown)
            if (s.kind == Kind::OpenFile || s.kind == Kind::SaveFile) out << s;
        return out;
    }
    Formvelmo *main = nullptr;
};

void makeReadOnly(const QString &path)
{
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
}

} // namespace

class TestMaintenance : public QObject {
    Q_OBJECT
private slots:
    void saveAsksSixQuestionsAndCopiesWhatIsChosen();
    void saveEndsAtACancelledDialogOrAFailure();
    void savedSetRestoresByteForByte();
    void restoreNeverHarmsAnArchiveItCannotReplace();
    void resetEmptiesWhatIsAnsweredYes();
    void resetNamesAFileItCannotEmptyAndGoesOn();
};

void TestMaintenance::saveAsksSixQuestionsAndCopiesWhatIsChosen()
{
    {
        Office o;
        const auto before = o.snapshot();
        o.answer({false, false, false, false, false, false});
        o.choose("mnsalvaarc");
        QCOMPARE(o.fake.prompts.texts(), kSaveQuestions);
        QCOMPARE(o.fake.prompts.unexpected, 0);
        QCOMPARE(o.snapshot(), before);
    }
    {
        // Only the vehicles, into a file that exists already: replaced
        // without asking, every line ended by CR LF.
        Office o;
        o.write(File::Automezzi, "ALFA,JEEP,,,,,,,L\nBETA,FURGONE,,,,,,,A\rGAMMA,BUS,,,,,,,L");
        o.write("copie/mezzi.bak", "vecchio contenuto\r\n");
        o.answer({false, false, true, false, false, false});
        o.fake.prompts.files.enqueue(o.backup("mezzi.bak"));
        o.choose("mnsalvaarc");
        QCOMPARE(o.read("copie/mezzi.bak"),
                 crlf({"ALFA,JEEP,,,,,,,L", "BETA,FURGONE,,,,,,,A", "GAMMA,BUS,,,,,,,L"}));
        QCOMPARE(o.fake.prompts.messages(), QStringList({"Archivio Automezzi salvato."}));
        const auto d = o.dialogs();
        QCOMPARE(d.size(), 1);
        QCOMPARE(d[0].kind, Kind::SaveFile);
        QCOMPARE(d[0].text, QString("Archivio Automezzi"));
        QCOMPARE(QDir(d[0].folder).canonicalPath(), QDir(o.dir()).canonicalPath());
        QCOMPARE(d[0].filter, QString("*.*"));
        QCOMPARE(o.fake.prompts.questions(), kSaveQuestions);
        QVERIFY(!o.fake.prompts.busyAtPrompt.contains(true));
        QCOMPARE(o.fake.prompts.unexpected, 0);
        QCOMPARE(o.fake.busy.depth, 0);
    }
}

void TestMaintenance::saveEndsAtACancelledDialogOrAFailure()
{
    {
        // The second dialog cancelled: the third question is never asked.
        Office o;
        o.answer({true, true});
        o.fake.prompts.files << o.backup("ass.bak") << "";
        o.choose("mnsalvaarc");
        QCOMPARE(o.fake.prompts.questions(), kSaveQuestions.mid(0, 2));
        QCOMPARE(o.fake.prompts.messages(), QStringList({"Archivio Associazioni salvato."}));
        QCOMPARE(o.read("copie/ass.bak"), o.read(File::Associazioni));
        QCOMPARE(o.fake.prompts.unexpected, 0);
    }
    {
        // A missing archive: nothing is created under the chosen name, the
        // user is told, the sequence ends.
        Office o;
        QFile::remove(o.path(File::Attrezzature));
        o.answer({false, true});
        o.fake.prompts.files << o.backup("attr.bak");
        o.choose("mnsalvaarc");
        QVERIFY(!QFile::exists(o.backup("attr.bak")));
        QCOMPARE(o.fake.prompts.messages(),
                 QStringList({"Salvataggio non riuscito. Il file attrezzature.csv non esiste."}));
        QCOMPARE(o.fake.prompts.questions(), kSaveQuestions.mid(0, 2));
        QCOMPARE(o.fake.busy.depth, 0);
    }
    {
        // A backup file that cannot be replaced keeps its content; no
        // half-written file is left beside it.
        Office o;
        o.write("copie/ro.bak", "COPIA PRECEDENTE\r\n");
        makeReadOnly(o.backup("ro.bak"));
        o.answer({true});
        o.fake.prompts.files << o.backup("ro.bak");
        o.choose("mnsalvaarc");
        QCOMPARE(o.read("copie/ro.bak"), QByteArray("COPIA PRECEDENTE\r\n"));
        QCOMPARE(o.fake.prompts.messages().size(), 1);
        QVERIFY(o.fake.prompts.messages()[0].startsWith("Salvataggio non riuscito. Impossibile scrivere il file ro.bak"));
        QCOMPARE(QDir(o.path(QString("copie"))).entryList(QDir::Files | QDir::Hidden), QStringList({"ro.bak"}));
    }
}

void TestMaintenance::savedSetRestoresByteForByte()
{
    Office o;
    const auto before = o.snapshot();
    o.answer({true, true, true, true, true, true});
    for (int i = 0; i < 6; ++i) o.fake.prompts.files << o.backup(QString("copia%1").arg(i));
    o.choose("mnsalvaarc");
    QCOMPARE(o.fake.prompts.messages(),
             QStringList({"Archivio Associazioni salvato.", "Archivio Attrezzature salvato.",
                          "Archivio Automezzi salvato.", QString::fromUtf8("Archivio Attività salvato."),
                          QString::fromUtf8("Archivio Risorse di Attività salvato."),
                          "Archivio Numero protocollo salvato."}));

    // Everything emptied, then the saved set put back.
    o.fake.prompts.clear();
    o.answer({true, true, true, true, true, true, true, true});
    o.choose("mnripazze");
    QCOMPARE(o.main->findChild<LineList *>("List1")->count(), 0);
    QCOMPARE(o.main->findChild<LineList *>("List2")->count(), 0);

    o.fake.prompts.clear();
    o.answer({true, true, true, true, true, true});
    for (int i = 0; i < 6; ++i) o.fake.prompts.files << o.backup(QString("copia%1").arg(i));
    o.choose("mnriparc");
    QCOMPARE(o.fake.prompts.questions(), kRestoreQuestions);
    QStringList titles;
    for (const auto &d : o.dialogs()) {
        QCOMPARE(d.kind, Kind::OpenFile);
        QCOMPARE(d.filter, QString("*.*"));
        QCOMPARE(QDir(d.folder).canonicalPath(), QDir(o.dir()).canonicalPath());
        titles << d.text;
    }
    QCOMPARE(titles, kTitles);
    QCOMPARE(o.fake.prompts.messages(),
             QStringList({"Archivio Associazioni ripristinato.", "Archivio Attrezzature ripristinato.",
                          "Archivio Automezzi ripristinato.", QString::fromUtf8("Archivio Attività ripristinato."),
                          QString::fromUtf8("Archivio Risorse di Attività ripristinato."),
                          "Archivio Numero protocollo ripristinato."}));
    for (File f : kSaved) QCOMPARE(o.read(f), before[f]);
    // Volunteers are emptied by the reset and not part of a saved set.
    QCOMPARE(o.read(File::Volontari), QByteArray());
    QCOMPARE(o.read(File::AssociazioniSav), before[File::AssociazioniSav]);
    QCOMPARE(o.read(File::RisorseSav), before[File::RisorseSav]);
    // The main window counts what the restored archive holds.
    QCOMPARE(o.main->findChild<LineList *>("List1")->count(), 1);
    QCOMPARE(o.main->findChild<LineList *>("List2")->count(), 1);
}

void TestMaintenance::restoreNeverHarmsAnArchiveItCannotReplace()
{
    {
        // The chosen file does not exist: the archive stays whole.
        Office o;
        const auto before = o.snapshot();
        o.answer({true});
        o.fake.prompts.files << o.backup("manca.bak");
        o.choose("mnriparc");
        QCOMPARE(o.snapshot(), before);
        QCOMPARE(o.fake.prompts.messages(),
                 QStringList({"Ripristino non riuscito. Il file manca.bak non esiste."}));
        QCOMPARE(o.fake.prompts.questions().size(), 1);
        QCOMPARE(o.fake.busy.depth, 0);
    }
    {
        // A read-only archive is named and kept; cancelling the next dialog
        // would not be reached.
        Office o;
        o.write("copie/attr.bak", crlf({"BETA,POMPA,L, 1 "}));
        makeReadOnly(o.path(File::Attrezzature));
        const QByteArray attr = o.read(File::Attrezzature);
        o.answer({false, true});
        o.fake.prompts.files << o.backup("attr.bak");
        o.choose("mnriparc");
        QCOMPARE(o.read(File::Attrezzature), attr);
        QCOMPARE(o.fake.prompts.messages().size(), 1);
        QVERIFY(o.fake.prompts.messages()[0].contains("attrezzature.csv"));
        QCOMPARE(o.fake.prompts.questions().size(), 2);
        QCOMPARE(o.fake.busy.depth, 0);
    }
    {
        // Cancelling ends the sequence silently.
        Office o;
        const auto before = o.snapshot();
        o.answer({true});
        o.fake.prompts.files << "";
        o.choose("mnriparc");
        QCOMPARE(o.snapshot(), before);
        QVERIFY(o.fake.prompts.messages().isEmpty());
    }
    {
        // Cancelled at the second archive: the first stays restored, the
        // second as it was, and nothing more is asked.
        Office o;
        o.write("copie/ass.bak", crlf({"BETA,,,,,,,, 1 , 1 "}));
        const QByteArray attr = o.read(File::Attrezzature);
        o.answer({true, true});
        o.fake.prompts.files << o.backup("ass.bak") << "";
        o.choose("mnriparc");
        QCOMPARE(o.read(File::Associazioni), crlf({"BETA,,,,,,,, 1 , 1 "}));
        QCOMPARE(o.read(File::Attrezzature), attr);
        QCOMPARE(o.fake.prompts.questions(), kRestoreQuestions.mid(0, 2));
        QCOMPARE(o.fake.prompts.messages(), QStringList({"Archivio Associazioni ripristinato."}));
        QCOMPARE(o.fake.busy.depth, 0);
    }
}

void TestMaintenance::resetEmptiesWhatIsAnsweredYes()
{
    {
        Office o;
        const auto before = o.snapshot();
        o.answer({false});
        o.choose("mnripazze");
        QCOMPARE(o.fake.prompts.texts(),
                 QStringList({QString::fromUtf8("L'azzeramento svuoterà gli archivi attuali. Continuo?")}));
        QCOMPARE(o.snapshot(), before);
    }
    {
        Office o;
        const auto before = o.snapshot();
        o.answer({true, false, false, false, false, false, false, false});
        o.choose("mnripazze");
        QCOMPARE(o.fake.prompts.questions(),
                 QStringList({QString::fromUtf8("L'azzeramento svuoterà gli archivi attuali. Continuo?"),
                              "Azzero l'archivio Associazioni?", "Azzero l'archivio Volontari?",
                              "Azzero l'archivio Automezzi?", "Azzero l'archivio Attrezzature?",
                              "Azzero l'archivio numero protocollo?",
                              QString::fromUtf8("Azzero l'archivio Attività?"), "Azzero l'archivio Risorse?"}));
        QCOMPARE(o.fake.prompts.messages(), QStringList({kDone}));
        QCOMPARE(o.snapshot(), before);
    }
    {
        // Associations and the counter only; a new activity is then number 1.
        Office o;
        const auto before = o.snapshot();
        o.ctx.g.ultimoprot = 2;
        o.answer({true, true, false, false, false, true, false, false});
        o.choose("mnripazze");
        QCOMPARE(o.read(File::Associazioni), QByteArray());
        QVERIFY(QFile::exists(o.path(File::Associazioni)));
        QCOMPARE(o.read(File::NumeroProt), QByteArray(" 0 \r\n"));
        QCOMPARE(o.ctx.g.ultimoprot, qint16(0));
        for (File f : {File::Volontari, File::Automezzi, File::Attrezzature, File::Attivita,
                       File::Risorse, File::AssociazioniSav, File::Emergenza})
            QCOMPARE(o.read(f), before[f]);
        QCOMPARE(o.fake.prompts.messages(), QStringList({kDone}));

        o.choose("mnattains");
        auto *activity = o.windows->get<Formattivita>();
        o.activate(activity);
        QCOMPARE(activity->findChild<QLineEdit *>("numprot")->text(), QString("1"));
    }
}

void TestMaintenance::resetNamesAFileItCannotEmptyAndGoesOn()
{
    Office o;
    makeReadOnly(o.path(File::Automezzi));
    const QByteArray vehicles = o.read(File::Automezzi);
    o.answer({true, true, true, true, true, true, true, true});
    o.choose("mnripazze");
    QCOMPARE(o.read(File::Automezzi), vehicles);
    for (File f : {File::Associazioni, File::Volontari, File::Attrezzature, File::Attivita, File::Risorse})
        QCOMPARE(o.read(f), QByteArray());
    // The snapshots are never part of a reset.
    QCOMPARE(o.read(File::AssociazioniSav), crlf({"SAV"}));
    QCOMPARE(o.read(File::RisorseSav), crlf({"SAV RISORSE"}));
    QCOMPARE(o.read(File::NumeroProt), QByteArray(" 0 \r\n"));
    const QStringList m = o.fake.prompts.messages();
    QCOMPARE(m.size(), 2);
    QVERIFY(m[0].startsWith("Azzeramento non riuscito. Impossibile scrivere il file automezzi.csv"));
    QCOMPARE(m[1], QString(kDone));
    // The question after the failing file was still asked.
    QCOMPARE(o.fake.prompts.questions().size(), 8);
}

QTEST_MAIN(TestMaintenance)
#include "tst_maintenance.moc"
