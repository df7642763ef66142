// A read-only archive or folder and a disk that fills up mid-rewrite: the
// user is told which file, and every archive keeps its last good content.
#include "desks.h"

#include "session/snapshot.h"
#include "archive/io.h"
#include "archive/journal.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <functional>

using archive::File;

namespace {

// `%1` stands for the working folder.
QString unwritten(const QString &written, const QString &kept, bool existed = true)
{
    return QStringLiteral("Impossibile scrivere il file %2 (%1/%2). Il file %3 %4.")
        .arg(QStringLiteral("%1"), written, kept,
             existed ? QStringLiteral("resta com'era") : QString::fromUtf8("non è stato creato"));
}

QString writeFailure(const TestOffice &o, File f)
{
    const QString name = archive::fileName(f);
    return unwritten(name, name, o.exists(f)).arg(o.dir());
}

// Small archives fail only when the last buffered bytes are flushed; the big
// ones (beyond 64 KiB) already at a write.
void seedForDisk(const TestOffice &o, bool big)
{
    QList<QByteArray> ass{"ALFA,VIA UNO,COMUNE,PR,011,,,CAMPO, 10 , 10 ", "BETA,,,,,,,, 4 , 4 "};
    QList<QByteArray> sav{"VECCHIA,,,,,,,, 1 , 1 "};
    for (int i = 0; big && i < 3000; ++i)
        ass << QByteArray("ASSOCIAZIONE ") + QByteArray::number(10000 + i) + ",VIA ROMA,COMUNE,PR,011,,,CAMPO, 5 , 5 ";
    for (int i = 0; big && i < 5000; ++i) sav << "SNAPSHOT " + QByteArray::number(i) + ",,,,,,,, 1 , 1 ";
    o.write(File::Associazioni, crlf(ass));
    o.write(File::Attrezzature, crlf({"ALFA,TENDA,L, 3 "}));
    o.write(File::Attivita, crlf({" 1 ,01/03/2025,09.00,,,,,SOCCORSO,LUOGO,SALA,,A",
                                  " 2 ,02/03/2025,10.00,,,02/03/2025,18.00,RICERCA,BOSCO,SINDACO,,C",
                                  " 3 ,03/03/2025,11.00,,,03/03/2025,19.00,RICERCA,CAMPO,SINDACO,,C"}));
    o.write(File::Risorse, crlf({" 1 ,ATTR,     2,ALFA,TENDA,O"}));
    o.write(File::AssociazioniSav, crlf(sav));
    o.write(File::NumeroProt, "41\r\n");
    o.write(File::Emergenza, "PROVA\r\n");
    o.write("copia.bak", crlf({"GAMMA,,,,,,,, 2 , 2 "}));
    o.write("stampa.pdf", "VECCHIA STAMPA\r\n");
    // A diary longer than the small archives: it is the last file a change writes.
    o.write("diario.txt", QByteArray("01/03/2025\t09.00.00\tSALA (utente rossi)\tNOTA\t\tRIGA\t0\r\n").repeated(80));
}

// A child process whose files may not grow beyond `limit` (EFBIG, as on a full
// disk), or ("-") whose syncs the kernel fails as `strace` asks (EIO).
QString runLimited(const TestOffice &o, const QString &limit, const QString &operation, const QStringList &strace = {})
{
    QProcess child;
    const QStringList worker{QStringLiteral(KILLWORKER_PATH), o.dir(), "limit", limit, operation};
    if (strace.isEmpty()) child.start(worker.first(), worker.mid(1));
    else child.start(QStringLiteral("strace"), QStringList{"-f", "-o", "/dev/null"} + strace + worker);
    if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return QStringLiteral("<il processo non è terminato bene: %1>").arg(QString::fromUtf8(child.readAllStandardError()));
    return QString::fromUtf8(child.readAllStandardOutput());
}

using AddOperation = std::function<void(const char *operation, const QString &destination, const QString &expected)>;

// The operations of the disk tests, each with the file it replaces and what
// the user is told when the disk refuses: full (`sync` false), or failing
// every sync. An ordered rewrite fills its work file first, but syncs only
// the archive outside a transaction.
void diskOperations(bool sync, const AddOperation &add)
{
    const QString saveFailed = QStringLiteral("Salvataggio non riuscito. ");
    const QString kept = QString::fromUtf8(" L'archivio associazioni.csv non è cambiato.");
    const auto same = [](const char *file) { return unwritten(file, file); };
    add("inserimento", "associazioni.csv", unwritten("associazioni.wrk", "associazioni.csv"));
    add("istantanea", "associazioni.sav", same("associazioni.sav"));
    add("ripristino", "associazioni.csv", same("associazioni.csv"));
    add("salvataggio", "copia.bak", saveFailed + same("copia.bak") + kept);
    add("salvataggio nuovo", "nuova.bak", saveFailed + unwritten("nuova.bak", "nuova.bak", false) + kept);
    add("ripristino da copia", "associazioni.csv", QStringLiteral("Ripristino non riuscito. ") + same("associazioni.csv"));
    add("contatore", "numeroprot.dat", same("numeroprot.dat"));
    add("emergenza", "emergenza.dat", same("emergenza.dat"));
    add("stampa", "stampa.pdf", QStringLiteral("Stampa non riuscita. ") + same("stampa.pdf"));
    // A change over several archives: the activity is the last one prepared.
    add("annullamento", "attivita.csv", sync ? unwritten("risorse.wrk", "risorse.csv") : unwritten("attivita.wrk", "attivita.csv") + QString::fromUtf8(" Nessun altro archivio è stato modificato."));
}

} // namespace

class TestUnwritable : public QObject {
    Q_OBJECT
private slots:
    void readOnlyArchiveOrFolderIsToldAndKept_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<bool>("folder");
        for (int w = 0; w < int(registerWindows().size()); ++w)
            for (bool folder : {false, true})
                QTest::addRow("%s, %s", registerWindows()[w].window(), folder ? "cartella" : "archivio") << w << folder;
    }
    void readOnlyArchiveOrFolderIsToldAndKept()
    {
        // The message names the first file it cannot write; no file changes,
        // not even a snapshot or a work file.
        QFETCH(int, window);
        QFETCH(bool, folder);
#ifdef Q_OS_WIN
        if (folder) QSKIP("Windows lets files be made in a read-only folder");
#endif
        const WindowRow &row = registerWindows()[window];
        MainOffice o;
        seedOffice(o);
        QWidget *w = row.open(o);
        const QString locked = folder ? o.dir() : o.path(row.archive);
        const auto before = o.files();
        setReadOnly(locked);
        fillGood(w, row);
        o.fake.prompts.clear();
        clickButton(w, row.button);
        setReadOnly(locked, false);
        // The protocol number is written with the activity, first.
        const bool activity = row.archive == File::Attivita;
        QCOMPARE(o.fake.prompts.messages(), QStringList{writeFailure(o, folder && activity ? File::NumeroProt : row.archive)
                                                        + (activity && !folder ? QString::fromUtf8(" Nessun altro archivio è stato modificato.") : QString())});
        QCOMPARE(o.files(), before);
    }

    void aReadOnlySnapshotIsNamedAndTheOthersTaken()
    {
        TestOffice o;
        seedOffice(o);
        o.write(File::AssociazioniSav, crlf({"VECCHIA,,,,,,,, 1 , 1 "}));
        const auto before = o.files();
        setReadOnly(o.path(File::AssociazioniSav));
        QVERIFY(!snapshot::takeRegisters(o.ctx));
        setReadOnly(o.path(File::AssociazioniSav), false);
        QCOMPARE(o.fake.prompts.messages(), QStringList{writeFailure(o, File::AssociazioniSav)});
        QCOMPARE(o.read(File::AssociazioniSav), before["associazioni.sav"]);
        QCOMPARE(o.read(File::AttrezzatureSav), o.read(File::Attrezzature));
        QCOMPARE(o.read(File::AutomezziSav), o.read(File::Automezzi));
    }

    void fullDiskKeepsTheLastGoodContent_data()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows cannot limit the size of a process's files (setrlimit)");
#endif
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("big");
        QTest::addColumn<int>("cut"); // 0: nothing is written, 1: half, 2: all but the last byte
        diskOperations(false, [](const char *operation, const QString &destination, const QString &expected) {
            // Where nothing fits, a change over several archives stops at its first one, as when no sync succeeds.
            for (int cut : {0, 1, 2})
                if (cut > 0 || QByteArray(operation) != "annullamento")
                    QTest::addRow("%s, %d", operation, cut) << QString(operation) << destination << expected << false << cut;
            if (destination.endsWith(".csv") || destination.endsWith(".sav"))
                QTest::addRow("%s, grande", operation) << QString(operation) << destination << expected << true << 1;
        });
        // The archives of the change fit, its diary does not: neither is changed.
        for (int cut : {1, 2})
            QTest::addRow("inserimento, diario, %d", cut) << "inserimento"
                                                          << "diario.txt" << unwritten("diario.txt", "diario.txt") + QString::fromUtf8(" Nessun altro archivio è stato modificato.") << false << cut;
    }
    void fullDiskKeepsTheLastGoodContent()
    {
        QFETCH(QString, operation);
        QFETCH(QString, destination);
        QFETCH(QString, expected);
        QFETCH(bool, big);
        QFETCH(int, cut);
        qint64 size = 0;
        {
            TestOffice trial;
            seedForDisk(trial, big);
            const QString shown = runLimited(trial, "-", operation);
            QVERIFY2(!shown.contains("non riuscit") && !shown.contains("Impossibile"), qPrintable(shown));
            size = QFileInfo(trial.path(destination)).size();
            QVERIFY(size > 1);
        }
        TestOffice o;
        seedForDisk(o, big);
        auto before = o.files();
        before["diario.txt"] = o.read("diario.txt");
        const QString shown = runLimited(o, QString::number(cut == 0 ? 0 : cut == 1 ? size / 2
                                                                                    : size - 1),
                                         operation);
        auto after = o.files();
        after["diario.txt"] = o.read("diario.txt");
        before.remove("associazioni.wrk");
        after.remove("associazioni.wrk");
        QVERIFY2(after == before, qPrintable(destination + " cambiato: " + shown));
        QCOMPARE(shown, expected.arg(o.dir()));
    }

    void aFailedSyncIsAFailedWrite_data()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows has no strace to make syncs fail");
#endif
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("folderSync");   // 0: every sync fails; n: the folder's from the n-th on
        QTest::addColumn<QString>("expected"); // empty: the change is made and told as without faults
        diskOperations(true, [](const char *operation, const QString &, const QString &expected) {
            QTest::addRow("%s, ogni sync", operation) << QString(operation) << 0 << expected;
        });
        // Before the renames the folder must hold the journal; after them the change stands.
        QTest::newRow("annullamento, giornale") << "annullamento" << 1
                                                << unwritten("velmora.jnl", "velmora.jnl", false) + QString::fromUtf8(" Nessun altro archivio è stato modificato.");
        QTest::newRow("annullamento, dopo i rinomini") << "annullamento" << 2 << QString();
        QTest::newRow("contatore, giornale") << "contatore" << 1
                                             << unwritten("velmora.jnl", "velmora.jnl", false) + QString::fromUtf8(" Nessun altro archivio è stato modificato.");
        QTest::newRow("contatore, dopo il rinomino") << "contatore" << 2 << QString();
    }
    void aFailedSyncIsAFailedWrite()
    {
        QFETCH(QString, operation);
        QFETCH(int, folderSync);
        QFETCH(QString, expected);
        TestOffice trial, o;
        seedForDisk(trial, false);
        seedForDisk(o, false);
        const QString done = runLimited(trial, "-", operation);
        const auto before = o.files();
        QVERIFY2(trial.files() != before, qPrintable(done));
        const QString shown = runLimited(o, "-", operation, folderSync == 0 ? QStringList{"--inject=fsync,fdatasync:error=EIO"} : QStringList{"-P", o.dir(), QStringLiteral("--inject=fsync:error=EIO:when=%1+").arg(folderSync)});
        QCOMPARE(shown, expected.isEmpty() ? done : expected.arg(o.dir()));
        auto after = o.files();
        auto unchanged = expected.isEmpty() ? trial.files() : before;
        after.remove("associazioni.wrk");
        unchanged.remove("associazioni.wrk");
        // A journal stays after renames the folder could not sync: the next start finishes it.
        QCOMPARE(after.remove("velmora.jnl") == 1, expected.isEmpty() && folderSync > 0);
        if (QFile::exists(o.path("velmora.jnl"))) {
            QCOMPARE(int(archive::recover(o.ctx.folder).status), int(archive::Recovery::Finished));
            QCOMPARE(o.files(), after);
        }
        QCOMPARE(after, unchanged);
    }

#ifdef Q_OS_WIN
    void aFileHeldOpenElsewhereIsNamedAndKept()
    {
        // Windows replaces no file another program holds open: after a short
        // wait the user is told which one is busy, and it stays as it was.
        diskOperations(false, [](const char *operation, const QString &destination, const QString &) {
            TestOffice o;
            seedForDisk(o, false);
            const QByteArray before = o.read(destination);
            QFile held(o.path(destination));
            if (!held.open(QIODevice::ReadOnly)) return; // a new file
            const QString shown = runLimited(o, "-", operation);
            held.close();
            QVERIFY2(shown.contains(QString::fromUtf8("Il file %1 (%2/%1) è aperto in un altro programma e non può essere sostituito: chiuderlo e riprovare. Il file %1 resta com'era.").arg(destination, o.dir())), operation);
            QCOMPARE(o.read(destination), before);
        });
    }
#endif
};

QTEST_MAIN(TestUnwritable)
#include "tst_unwritable.moc"
