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
using archive::IoResult;

class TestUnwritable : public QObject {
    Q_OBJECT
private slots:
    void readOnlyArchiveIsToldAndKept();
    void readOnlyFolderIsToldAndNothingCreated();
    void readOnlySnapshotIsTold();
    void fullDiskKeepsTheLastGoodContent();
};

namespace {

QString writeFailure(const TestOffice &o, File f)
{
    return IoResult::fail(IoResult::WriteFailed, o.path(f)).message();
}

void makeReadOnly(const QString &path, bool readOnly)
{
    QFile::setPermissions(path, readOnly ? QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther
                                               | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther
                                         : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                               | QFile::ReadGroup | QFile::ExeGroup);
}

} // namespace

void TestUnwritable::readOnlyArchiveIsToldAndKept()
{
    for (const WindowRow &row : registerWindows()) {
        if (row.archive == File::Attivita) continue; // its own test below
        MainOffice o;
        seedOffice(o);
        QWidget *w = row.open(o);
        const QString archive = o.path(row.archive);
        makeReadOnly(archive, true);
        const auto before = folderState(o);
        fillGood(w, row);
        o.fake.prompts.clear();
        clickButton(w, row.button);
        makeReadOnly(archive, false);
        QCOMPARE(o.fake.prompts.messages(), QStringList{writeFailure(o, row.archive)});
        QVERIFY(o.fake.prompts.messages().first().contains(archive::fileName(row.archive)));
        QCOMPARE(folderState(o), before);
    }
    // The activity archive: the counter and the snapshots are not touched
    // either when the activity cannot be written.
    MainOffice o;
    seedOffice(o);
    const WindowRow &row = registerWindows().back();
    QWidget *w = row.open(o);
    makeReadOnly(o.path(File::Attivita), true);
    const auto before = folderState(o);
    fillGood(w, row);
    o.fake.prompts.clear();
    clickButton(w, row.button);
    makeReadOnly(o.path(File::Attivita), false);
    QVERIFY(!o.fake.prompts.messages().isEmpty());
    QVERIFY2(o.fake.prompts.messages().join('|').contains(writeFailure(o, File::Attivita)),
             qPrintable(o.fake.prompts.messages().join('|')));
    QVERIFY(!o.fake.prompts.messages().contains(row.done));
    QCOMPARE(o.read(File::Attivita), before.value("attivita.csv"));
    QCOMPARE(o.read(File::Risorse), before.value("risorse.csv"));
}

void TestUnwritable::readOnlyFolderIsToldAndNothingCreated()
{
    for (const WindowRow &row : registerWindows()) {
        MainOffice o;
        seedOffice(o);
        QWidget *w = row.open(o);
        const auto before = folderState(o);
        makeReadOnly(o.dir(), true);
        fillGood(w, row);
        o.fake.prompts.clear();
        clickButton(w, row.button);
        makeReadOnly(o.dir(), false);
        // An activity starts with its protocol number.
        const File first = row.archive == File::Attivita ? File::NumeroProt : row.archive;
        QCOMPARE(o.fake.prompts.messages(), QStringList{writeFailure(o, first)});
        QCOMPARE(folderState(o), before); // not even a work file
    }
    // The library on its own: no replacement, no copy, no rewrite.
    TestOffice o;
    seedOffice(o);
    const auto before = folderState(o);
    makeReadOnly(o.dir(), true);
    const IoResult replaced = archive::replaceFile(o.path(File::NumeroProt), "8\r\n");
    const IoResult copied = snapshot::copiainsav(o.ctx.folder, archive::Register::Associazioni);
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
        big << QStringLiteral("ASSOCIAZIONE %1,VIA ROMA,COMUNE,PR,011,,,CAMPO, 5 , 5 ")
                   .arg(i, 5, 10, QLatin1Char('0'))
                   .toLatin1();
    for (int i = 0; i < 5000; ++i) old << "SNAPSHOT " + QByteArray::number(i) + ",,,,,,,, 1 , 1 ";
    o.write(File::Associazioni, crlf(big));
    o.write(File::AssociazioniSav, crlf(old));
    o.write(File::NumeroProt, "41\r\n");
    const struct {
        const char *operation;
        File named;
    } rows[] = {
        {"inserimento", File::AssociazioniWrk}, // the work file fills first
        {"istantanea", File::AssociazioniSav},
        {"ripristino", File::Associazioni},
        {"contatore", File::NumeroProt},
    };
    for (const auto &r : rows) {
        auto before = folderState(o);
        before.remove("associazioni.wrk");
        QProcess child;
        child.start(QStringLiteral(KILLWORKER_PATH),
                    {o.dir(), QStringLiteral("limit"), QStringLiteral("65536"),
                     QString::fromLatin1(r.operation)});
        QVERIFY(child.waitForFinished(20000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        const QString message = QString::fromUtf8(child.readAllStandardOutput());
        QVERIFY2(child.exitCode() == 1, r.operation);
        QCOMPARE(message, writeFailure(o, r.named));
        auto after = folderState(o);
        after.remove("associazioni.wrk");
        QCOMPARE(after.keys(), before.keys()); // no temporary file left behind
        for (auto it = before.begin(); it != before.end(); ++it)
            QVERIFY2(after.value(it.key()) == it.value(), qPrintable(r.operation + (": " + it.key())));
    }
}

QTEST_MAIN(TestUnwritable)
#include "tst_unwritable.moc"
