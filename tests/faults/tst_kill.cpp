// The helper program runs register operations in a loop and is killed with
// SIGKILL at spread-out moments; after each kill every archive and snapshot
// must read whole and hold its content from before or after the operation
// that was interrupted.
#include "killops.h"

#include "archive/io.h"
#include "archive/paths.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using archive::File;

class TestKill : public QObject {
    Q_OBJECT
private slots:
    void referenceRunEndsEveryStepWell();
    void killedAnywhereLeavesEveryFileOldOrNew();
};

namespace {

// The files that must never be found half written (work files are buffers
// and may be).
const File kChecked[] = {
    File::Associazioni, File::AssociazioniSav, File::Emergenza, File::NumeroProt,
    File::Automezzi,    File::AutomezziSav,    File::Attrezzature, File::AttrezzatureSav,
    File::Attivita,     File::AttivitaSav,     File::Risorse,      File::RisorseSav,
    File::Volontari,
};

using State = QMap<File, QByteArray>;

QByteArray slurp(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<assente>");
}

State stateOf(const archive::WorkingFolder &folder)
{
    State s;
    for (File f : kChecked) s[f] = slurp(folder.path(f));
    return s;
}

void put(const archive::WorkingFolder &folder, const State &s)
{
    for (auto it = s.begin(); it != s.end(); ++it) {
        QFile f(folder.path(it.key()));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot reset test file");
        f.write(it.value());
    }
}

// The same steps replayed in a folder of the test's own: the state after any
// number of steps, moving forward only.
class Reference {
public:
    Reference() : m_folder(m_dir.path())
    {
        killops::seed(m_folder);
        m_current = stateOf(m_folder);
    }
    const archive::WorkingFolder &folder() const { return m_folder; }

    // The state after `n` steps (n never below a number asked before).
    State after(int n)
    {
        if (n == m_done - 1) return m_previous;
        Q_ASSERT(n >= m_done);
        for (; m_done < n; ++m_done) {
            if (!killops::run(m_folder, m_done)) qFatal("reference step failed");
            m_previous = m_current;
            m_current = stateOf(m_folder);
        }
        return m_current;
    }

private:
    QTemporaryDir m_dir;
    archive::WorkingFolder m_folder;
    int m_done = 0;
    State m_current, m_previous;
};

} // namespace

void TestKill::referenceRunEndsEveryStepWell()
{
    // Two full cycles in a row, in this process: every step ends well and
    // changes what it should, so the kills below interrupt real work.
    QTemporaryDir dir;
    const archive::WorkingFolder folder(dir.path());
    killops::seed(folder);
    State before = stateOf(folder);
    for (int step = 0; step < 2 * killops::KindCount; ++step) {
        const int kind = killops::kindOf(step);
        QVERIFY2(killops::run(folder, step), killops::kindName(kind));
        const State now = stateOf(folder);
        QVERIFY2(now != before || kind == killops::Snapshot, killops::kindName(kind));
        if (kind == killops::RenameAssociation) QVERIFY(now.value(File::Volontari) != before.value(File::Volontari));
        before = now;
    }
}

void TestKill::killedAnywhereLeavesEveryFileOldOrNew()
{
    QTemporaryDir dir;
    const archive::WorkingFolder folder(dir.path());
    killops::seed(folder);
    Reference ref;
    QVERIFY(slurp(killops::backupFile(folder)) == slurp(killops::backupFile(ref.folder())));

    QRandomGenerator random(20250303);
    QVector<int> killsPerKind(killops::KindCount, 0);
    int step = 0, mixed = 0, leftovers = 0; // mixed: kills that found some files old and others new
    constexpr int kKills = 240;
    for (int kills = 0; kills < kKills; ++kills) {
        // Each round starts the helper at a step of the next kind in turn,
        // from the whole state before it, so every kind is interrupted
        // however quick it is.
        while (killops::kindOf(step) != kills % killops::KindCount) ++step;
        put(folder, ref.after(step));
        QVERIFY(archive::replaceFile(killops::stepFile(folder), QByteArray::number(step) + "\r\n").ok());

        QProcess worker;
        worker.start(QStringLiteral(KILLWORKER_PATH), {folder.dir()});
        QVERIFY(worker.waitForStarted(5000));
        QVERIFY(worker.waitForReadyRead(5000));
        QCOMPARE(worker.readAllStandardOutput(), QByteArray("pronto\n"));
        // Spread the moment: half the kills within the first half
        // millisecond (inside the quickest steps), the others over some
        // steps' worth of work.
        QThread::usleep(kills % 2 ? random.bounded(500) : random.bounded(20000));
        worker.kill(); // SIGKILL
        QVERIFY(worker.waitForFinished(5000));
        QCOMPARE(worker.exitStatus(), QProcess::CrashExit);
        QVERIFY2(worker.readAllStandardError().isEmpty(), "a step failed in the helper");

        const int done = archive::readFirstLine(killops::stepFile(folder)).trimmed().toInt();
        QVERIFY(done >= step);
        const State before = ref.after(done), afterStep = ref.after(done + 1), found = stateOf(folder);
        const QString during = QStringLiteral("during step %1 (%2)").arg(done).arg(killops::kindName(killops::kindOf(done)));
        int olds = 0, news = 0;
        for (File f : kChecked) {
            const QByteArray &bytes = found.value(f);
            if (before.value(f) == afterStep.value(f)) continue;
            olds += bytes == before.value(f);
            news += bytes == afterStep.value(f);
            QVERIFY2(bytes == before.value(f) || bytes == afterStep.value(f),
                     qPrintable(archive::fileName(f) + " neither old nor new after a kill " + during));
        }
        mixed += olds && news;
        ++killsPerKind[killops::kindOf(done)];
        step = done;
        // Files the interrupted replacement left behind are never taken for
        // archives; clear them so the folder stays small.
        for (const QString &name : QDir(folder.dir()).entryList(QDir::Files))
            if (name.count(QLatin1Char('.')) > 1) leftovers += QFile::remove(QDir(folder.dir()).filePath(name));
    }
    QString spread;
    for (int k = 0; k < killops::KindCount; ++k)
        spread += QStringLiteral("%1: %2; ").arg(killops::kindName(k)).arg(killsPerKind[k]);
    qInfo("%d interruzioni fino al passo %d, %d a metà di un'operazione su più file, %d file "
          "temporanei rimasti; %s", kKills, step, mixed, leftovers, qPrintable(spread));
    for (int k = 0; k < killops::KindCount; ++k) QVERIFY2(killsPerKind[k] >= 1, qPrintable(spread));
}

QTEST_GUILESS_MAIN(TestKill)
#include "tst_kill.moc"
