// Places the program cannot write: a read-only archive, a read-only working
// folder, and a disk that fills up in the middle of a rewrite. The user is
// told which file, and every archive keeps its last good content.
#include "desks.h"

#include "session/snapshot.h"
#include "archive/io.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

using archive::File;

namespace {

// The message of a file that could not be written, naming the file that
// stands as it was (or is still missing); `%1` stands for the working folder.
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
    o.write(File::AssociazioniSav, crlf(sav));
    o.write(File::NumeroProt, "41\r\n");
    o.write(File::Emergenza, "PROVA\r\n");
    o.write("copia.bak", crlf({"GAMMA,,,,,,,, 2 , 2 "}));
    o.write("stampa.pdf", "VECCHIA STAMPA\r\n");
}

// The operation runs in a child process whose files may not grow beyond
// `limit`: a write beyond it fails (EFBIG), as on a disk that is full.
QString runLimited(const TestOffice &o, const QString &limit, const QString &operation)
{
    QProcess child;
    child.start(QStringLiteral(KILLWORKER_PATH), {o.dir(), "limit", limit, operation});
    if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return QStringLiteral("<il processo non è terminato bene: %1>").arg(QString::fromUtf8(child.readAllStandardError()));
    return QString::fromUtf8(child.readAllStandardOutput());
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
        // Each register window, with its archive read-only or the whole folder
        // read-only (even root creates nothing there): the message names the
        // first file it cannot write, and no file changes, not even a snapshot
        // or a work file.
        QFETCH(int, window);
        QFETCH(bool, folder);
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
        // An activity starts with its protocol number (written before the
        // activity: in a writable folder it has moved on).
        const bool activity = row.archive == File::Attivita;
        QCOMPARE(o.fake.prompts.messages(), QStringList{writeFailure(o, folder && activity ? File::NumeroProt : row.archive)});
        auto after = o.files();
        if (!folder && activity) after["numeroprot.dat"] = before["numeroprot.dat"];
        QCOMPARE(after, before);
    }

    void snapshotsInAReadOnlyPlace()
    {
        // In a read-only folder no snapshot is taken; a read-only snapshot
        // among the registers' is named, kept, and the other two are still
        // taken.
        TestOffice o;
        seedOffice(o);
        o.write(File::AssociazioniSav, crlf({"VECCHIA,,,,,,,, 1 , 1 "}));
        const auto before = o.files();
        setReadOnly(o.dir());
        const auto copied = snapshot::copiainsav(o.ctx.folder, archive::Register::Associazioni);
        setReadOnly(o.dir(), false);
        QCOMPARE(copied.message(), writeFailure(o, File::AssociazioniSav));
        QCOMPARE(o.files(), before);
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
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("big");
        QTest::addColumn<int>("cut"); // 0: nothing is written, 1: half, 2: all but the last byte
        const QString saveFailed = QStringLiteral("Salvataggio non riuscito. ");
        const QString kept = QString::fromUtf8(" L'archivio associazioni.csv non è cambiato.");
        const struct {
            const char *operation, *destination;
            QString expected;
        } rows[] = {
            // The ordered rewrite fills its work file first.
            {"inserimento", "associazioni.csv", unwritten("associazioni.wrk", "associazioni.csv")},
            {"istantanea", "associazioni.sav", unwritten("associazioni.sav", "associazioni.sav")},
            {"ripristino", "associazioni.csv", unwritten("associazioni.csv", "associazioni.csv")},
            {"salvataggio", "copia.bak", saveFailed + unwritten("copia.bak", "copia.bak") + kept},
            {"salvataggio nuovo", "nuova.bak", saveFailed + unwritten("nuova.bak", "nuova.bak", false) + kept},
            {"ripristino da copia", "associazioni.csv",
             QStringLiteral("Ripristino non riuscito. ") + unwritten("associazioni.csv", "associazioni.csv")},
            {"contatore", "numeroprot.dat", unwritten("numeroprot.dat", "numeroprot.dat")},
            {"emergenza", "emergenza.dat", unwritten("emergenza.dat", "emergenza.dat")},
            {"stampa", "stampa.pdf", QStringLiteral("Stampa non riuscita. ") + unwritten("stampa.pdf", "stampa.pdf")},
        };
        for (const auto &r : rows) {
            for (int cut : {0, 1, 2})
                QTest::addRow("%s, %d", r.operation, cut) << r.operation << r.destination << r.expected << false << cut;
            if (QByteArray(r.destination).endsWith(".csv") || QByteArray(r.destination).endsWith(".sav"))
                QTest::addRow("%s, grande", r.operation) << r.operation << r.destination << r.expected << true << 1;
        }
    }
    void fullDiskKeepsTheLastGoodContent()
    {
        // The limit is a share of what the destination becomes without it.
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
        const QString shown = runLimited(o, QString::number(cut == 0 ? 0 : cut == 1 ? size / 2 : size - 1), operation);
        auto after = o.files();
        before.remove("associazioni.wrk");
        after.remove("associazioni.wrk");
        QCOMPARE(after.keys(), before.keys()); // no temporary file left behind
        QVERIFY2(after == before, qPrintable(destination + " cambiato: " + shown));
        QCOMPARE(shown, expected.arg(o.dir()));
    }
};

QTEST_MAIN(TestUnwritable)
#include "tst_unwritable.moc"
