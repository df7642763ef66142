// Places the program cannot write: a read-only archive, a read-only working
// folder, and a disk that fills up in the middle of a rewrite. The user is
// told which file, and every archive keeps its last good content.
#include "desks.h"

#include "app/snapshot.h"
#include "archive/io.h"

#include <QFile>
#include <QProcess>
#include <QTest>

using archive::File;

class TestUnwritable : public QObject {
    Q_OBJECT
private slots:
    void readOnlyArchiveOrFolderIsToldAndKept();
    void readOnlySnapshotIsTold();
    void fullDiskKeepsTheLastGoodContent();
};

namespace {

QString writeFailure(const TestOffice &o, File f)
{
    return QStringLiteral("Impossibile scrivere il file %1 (%2). L'archivio resta com'era.")
        .arg(archive::fileName(f), o.path(f));
}

void makeReadOnly(const QString &path, bool readOnly)
{
    QFile::setPermissions(path, readOnly ? QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther
                                               | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther
                                         : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                               | QFile::ReadGroup | QFile::ExeGroup);
}

} // namespace

void TestUnwritable::readOnlyArchiveOrFolderIsToldAndKept()
{
    // Each register window, with its archive read-only and then with the
    // whole folder read-only (even root creates nothing there): the message
    // names the first file it cannot write, and no file changes, not even a
    // snapshot or a work file.
    for (const WindowRow &row : registerWindows()) {
        for (bool folder : {false, true}) {
            MainOffice o;
            seedOffice(o);
            QWidget *w = row.open(o);
            const QString locked = folder ? o.dir() : o.path(row.archive);
            const auto before = folderState(o);
            makeReadOnly(locked, true);
            fillGood(w, row);
            o.fake.prompts.clear();
            clickButton(w, row.button);
            makeReadOnly(locked, false);
            // An activity starts with its protocol number.
            const File first = folder && row.archive == File::Attivita ? File::NumeroProt : row.archive;
            QVERIFY2(o.fake.prompts.messages() == QStringList{writeFailure(o, first)},
                     qPrintable(o.fake.prompts.messages().join('|')));
            auto after = folderState(o);
            // The counter is written before the activity: it has moved on.
            if (!folder && row.archive == File::Attivita) after["numeroprot.dat"] = before["numeroprot.dat"];
            QCOMPARE(after, before);
        }
    }
    // The library on its own: no replacement, no copy.
    TestOffice o;
    seedOffice(o);
    const auto before = folderState(o);
    makeReadOnly(o.dir(), true);
    const auto replaced = archive::replaceFile(o.path(File::NumeroProt), "8\r\n");
    const auto copied = snapshot::copiainsav(o.ctx.folder, archive::Register::Associazioni);
    makeReadOnly(o.dir(), false);
    QCOMPARE(replaced.message(), writeFailure(o, File::NumeroProt));
    QCOMPARE(copied.message(), writeFailure(o, File::AssociazioniSav));
    QCOMPARE(folderState(o), before);
}

void TestUnwritable::readOnlySnapshotIsTold()
{
    MainOffice o;
    seedOffice(o);
    o.write(File::AssociazioniSav, crlf({"VECCHIA,,,,,,,, 1 , 1 "}));
    makeReadOnly(o.path(File::AssociazioniSav), true);
    o.fake.prompts.clear();
    QVERIFY(!snapshot::takeRegisters(o.ctx));
    makeReadOnly(o.path(File::AssociazioniSav), false);
    QCOMPARE(o.fake.prompts.messages(), QStringList{writeFailure(o, File::AssociazioniSav)});
    QCOMPARE(o.read(File::AssociazioniSav), crlf({"VECCHIA,,,,,,,, 1 , 1 "}));
    // The other two were still taken.
    QCOMPARE(o.read(File::AttrezzatureSav), o.read(File::Attrezzature));
    QCOMPARE(o.read(File::AutomezziSav), o.read(File::Automezzi));
}

void TestUnwritable::fullDiskKeepsTheLastGoodContent()
{
    // Each operation in a child process whose files may not grow beyond
    // 64 KiB: writes beyond fail (EFBIG), as on a disk that is full.
    TestOffice o;
    QList<QByteArray> big, old;
    for (int i = 0; i < 3000; ++i)
        big << QByteArray("ASSOCIAZIONE ") + QByteArray::number(10000 + i) + ",VIA ROMA,COMUNE,PR,011,,,CAMPO, 5 , 5 ";
    for (int i = 0; i < 5000; ++i) old << "SNAPSHOT " + QByteArray::number(i) + ",,,,,,,, 1 , 1 ";
    o.write(File::Associazioni, crlf(big));
    o.write(File::AssociazioniSav, crlf(old));
    o.write(File::NumeroProt, "41\r\n");
    const std::pair<const char *, File> rows[] = {
        {"inserimento", File::AssociazioniWrk}, // the work file fills first
        {"istantanea", File::AssociazioniSav},
        {"ripristino", File::Associazioni},
        {"contatore", File::NumeroProt},
    };
    for (const auto &[operation, named] : rows) {
        auto before = folderState(o);
        before.remove("associazioni.wrk");
        QProcess child;
        child.start(QStringLiteral(KILLWORKER_PATH), {o.dir(), "limit", "65536", operation});
        QVERIFY(child.waitForFinished(20000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QVERIFY2(child.exitCode() == 1, operation);
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()), writeFailure(o, named));
        auto after = folderState(o);
        after.remove("associazioni.wrk");
        QCOMPARE(after.keys(), before.keys()); // no temporary file left behind
        QVERIFY2(after == before, operation);
    }
}

QTEST_MAIN(TestUnwritable)
#include "tst_unwritable.moc"
