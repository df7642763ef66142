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
    void killedAnywhereLeavesEveryFileOldOrNew();
    void referenceRunEndsEveryStepWell();
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
    if (!f.open(QIODevice::ReadOnly)) return QByteArray("<assente>");
    return f.readAll();
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
        while (m_done < n) advance();
        return m_current;
    }

private:
    void advance()
    {
        if (!killops::run(m_folder, m_done)) qFatal("reference step failed");
        ++m_done;
        m_previous = m_current;
        m_current = stateOf(m_folder);
    }
    QTemporaryDir m_dir;
    archive::WorkingFolder m_folder;
    int m_done = 0;
    State m_current, m_previous;
};

QString describe(File f) { return archive::fileName(f); }

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
        QVERIFY2(killops::run(folder, step), killops::kindName(killops::kindOf(step)));
        const State now = stateOf(folder);
        QVERIFY2(now != before || killops::kindOf(step) == killops::Snapshot,
                 killops::kindName(killops::kindOf(step)));
        if (killops::kindOf(step) == killops::RenameAssociation)
            QVERIFY(now.value(File::Volontari) != before.value(File::Volontari));
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
    int kills = 0, step = 0;
    constexpr int kKills = 240;
    int mixed = 0; // kills that found some files old and others new
    int leftovers = 0; // temporary files of interrupted replacements
    while (kills < kKills) {
        // Each round starts the helper at a step of the next kind in turn,
        // from the whole state before it, so every kind is interrupted
        // however quick it is.
        const int kind = kills % killops::KindCount;
        while (killops::kindOf(step) != kind) ++step;
        put(folder, ref.after(step));
        QVERIFY(archive::replaceFile(killops::stepFile(folder),
                                     QByteArray::number(step) + "\r\n").ok());

        QProcess worker;
        worker.setProgram(QStringLiteral(KILLWORKER_PATH));
        worker.setArguments({folder.dir()});
        worker.setProcessChannelMode(QProcess::SeparateChannels);
        worker.start();
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
        const State before = ref.after(done);
        const State afterStep = ref.after(done + 1);
        const State found = stateOf(folder);
        int olds = 0, news = 0;
        for (File f : kChecked) {
            const QByteArray &bytes = found.value(f);
            if (before.value(f) == afterStep.value(f)) continue;
            if (bytes == before.value(f)) ++olds;
            if (bytes == afterStep.value(f)) ++news;
            if (bytes == before.value(f) || bytes == afterStep.value(f)) continue;
            QFAIL(qPrintable(QStringLiteral("%1 neither old nor new after a kill during step %2 (%3): "
                                            "%4 bytes, expected %5 or %6")
                                 .arg(describe(f))
                                 .arg(done)
                                 .arg(QString::fromUtf8(killops::kindName(killops::kindOf(done))))
                                 .arg(bytes.size())
                                 .arg(before.value(f).size())
                                 .arg(afterStep.value(f).size())));
        }
        if (olds && news) ++mixed;
        ++killsPerKind[killops::kindOf(done)];
        ++kills;
        step = done;
        // Files the interrupted replacement left behind are never taken for
        // archives; clear them so the folder stays small.
        const QStringList left = QDir(folder.dir()).entryList(QDir::Files);
        for (const QString &name : left) {
            if (name.count(QLatin1Char('.')) > 1) {
                QFile::remove(QDir(folder.dir()).filePath(name));
                ++leftovers;
            }
        }
    }
    QString spread;
    for (int k = 0; k < killops::KindCount; ++k)
        spread += QStringLiteral("%1: %2; ").arg(QString::fromUtf8(killops::kindName(k))).arg(killsPerKind[k]);
    qInfo("%d interruzioni fino al passo %d, %d a metà di un'operazione su più file, %d file "
          "temporanei rimasti; %s",
          kills, step, mixed, leftovers, qPrintable(spread));
    for (int k = 0; k < killops::KindCount; ++k) QVERIFY2(killsPerKind[k] >= 1, qPrintable(spread));
}

QTEST_GUILESS_MAIN(TestKill)
#include "tst_kill.moc"
