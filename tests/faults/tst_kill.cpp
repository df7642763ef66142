// A helper program running changes that span archives is killed with SIGKILL;
// after recovery every archive holds its content from before or after the
// change, all of one change alike, and the registers agree with the activities.
#include "killops.h"

#include "resources/unregistered.h"

#include "archive/diary.h"
#include "archive/io.h"
#include "archive/journal.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using archive::File;

namespace {

// Never found half written (work files are buffers and may be).
const File kSospese = File(archive::kFileCount), kDiario = File(archive::kFileCount + 1);
QString pathOf(const archive::WorkingFolder &folder, File f)
{
    if (f == kDiario) return diary::path(folder);
    return f == kSospese ? resources::unregisteredPath(folder) : folder.path(f);
}
QString nameOf(File f)
{
    if (f == kDiario) return diary::kFileName;
    return f == kSospese ? QStringLiteral("sospese.dat") : archive::fileName(f);
}

const File kChecked[] = {
    File::Associazioni,
    File::AssociazioniSav,
    File::Emergenza,
    File::NumeroProt,
    File::Automezzi,
    File::AutomezziSav,
    File::Attrezzature,
    File::AttrezzatureSav,
    File::Attivita,
    File::AttivitaSav,
    File::Risorse,
    File::RisorseSav,
    File::Volontari,
    kSospese,
    kDiario,
};
const File kTogether[] = {File::Associazioni, File::Automezzi, File::Attrezzature, File::Attivita,
                          File::Risorse, File::Volontari, kSospese, kDiario};
bool together(File f) { return std::find(std::begin(kTogether), std::end(kTogether), f) != std::end(kTogether); }

using State = QMap<File, QByteArray>;

State stateOf(const archive::WorkingFolder &folder)
{
    State s;
    for (File f : kChecked) {
        QFile file(pathOf(folder, f));
        s[f] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<assente>");
    }
    return s;
}

void put(const archive::WorkingFolder &folder, const State &s)
{
    for (auto it = s.begin(); it != s.end(); ++it) {
        QFile f(pathOf(folder, it.key()));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot reset test file");
        f.write(it.value());
    }
}

class Reference {
public:
    Reference() : m_folder(m_dir.path())
    {
        killops::seed(m_folder);
        m_current = stateOf(m_folder);
    }

    State after(int n)
    {
        if (n == m_done - 1) return m_previous;
        // Every step ends well and changes what it should, so the kills interrupt real work.
        for (; m_done < n; ++m_done) {
            const int kind = killops::kindOf(m_done);
            const char *name = killops::kindName(kind);
            if (!killops::run(m_folder, m_done)) qFatal("reference step %s failed", name);
            const QString wrong = killops::inconsistency(m_folder);
            if (!wrong.isEmpty()) qFatal("reference step %d: %s", m_done, qPrintable(wrong));
            m_previous = m_current;
            m_current = stateOf(m_folder);
            int changed = 0;
            for (File f : kTogether) changed += m_current.value(f) != m_previous.value(f);
            if (changed < (kind == killops::Snapshot ? 0 : kind == killops::RenameAssociation ? 4
                                                                                              : 2))
                qFatal("reference step %s changed %d archives", name, changed);
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

class TestKill : public QObject {
    Q_OBJECT
private slots:
    void killedAnywhereLeavesEveryChangeWholeOrAbsent()
    {
        // The helper's diary lines carry the same time as the reference's.
        diary::useClock(killops::diaryTime);
        QTemporaryDir dir;
        const archive::WorkingFolder folder(dir.path());
        killops::seed(folder);
        Reference ref;
        QRandomGenerator random(20250303);
        QVector<int> killsPerKind(killops::KindCount, 0);
        int step = 0;
        for (int kills = 0; kills < 240; ++kills) {
            // Each kind in turn, so every kind is interrupted however quick it is.
            while (killops::kindOf(step) != kills % killops::KindCount) ++step;
            put(folder, ref.after(step));
            QVERIFY(archive::replaceFile(killops::stepFile(folder), QByteArray::number(step) + "\r\n").ok());

            QProcess worker;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("KILLWORKER_DESK_PID"), QString::number(QCoreApplication::applicationPid()));
            worker.setProcessEnvironment(env);
            worker.start(QStringLiteral(KILLWORKER_PATH), {folder.dir()});
            // Seconds for a Windows process under Wine on a busy machine.
            QVERIFY(worker.waitForReadyRead(30000));
            QCOMPARE(worker.readAllStandardOutput().trimmed(), QByteArray("pronto")); // CR LF on Windows
            // Half the kills inside the quickest steps.
            QThread::usleep(kills % 2 ? random.bounded(500) : random.bounded(20000));
            worker.kill(); // SIGKILL
            QVERIFY(worker.waitForFinished(5000));
            QCOMPARE(worker.exitStatus(), QProcess::CrashExit);
            QVERIFY2(worker.readAllStandardError().isEmpty(), "a step failed in the helper");

            const archive::Recovery recovered = archive::recover(folder);
            QVERIFY2(recovered.status != archive::Recovery::Failed, qPrintable(recovered.message()));
            // Whatever a kill left staged, the start clears.
            QVERIFY(QDir(folder.dir()).entryList({"*.new", "*.new.*", "velmora.jnl*"}).isEmpty());

            const int done = archive::readFirstLine(killops::stepFile(folder)).trimmed().toInt();
            QVERIFY(done >= step);
            const State before = ref.after(done), afterStep = ref.after(done + 1), found = stateOf(folder);
            const QString during = QStringLiteral(" during step %1 (%2)").arg(done).arg(killops::kindName(killops::kindOf(done)));
            QStringList olds, news;
            for (File f : kChecked) {
                const QByteArray &bytes = found.value(f);
                if (before.value(f) == afterStep.value(f)) continue;
                QVERIFY2(bytes == before.value(f) || bytes == afterStep.value(f),
                         qPrintable(nameOf(f) + " neither old nor new after a kill" + during));
                if (together(f)) (bytes == before.value(f) ? olds : news) << nameOf(f);
            }
            QVERIFY2(olds.isEmpty() || news.isEmpty(), qPrintable("old " + olds.join(' ') + ", new " + news.join(' ') + during));
            // Then the start gives back what was held unregistered.
            resources::undoLeftUnregistered(folder);
            QVERIFY2(killops::inconsistency(folder).isEmpty(), qPrintable(killops::inconsistency(folder) + during));
            ++killsPerKind[killops::kindOf(done)];
            step = done;
            // What an interrupted replacement left, cleared so the folder stays small.
            for (const QString &name : QDir(folder.dir()).entryList(QDir::Files))
                if (name.count(QLatin1Char('.')) > 1) QFile::remove(QDir(folder.dir()).filePath(name));
        }
        for (int k = 0; k < killops::KindCount; ++k) QVERIFY2(killsPerKind[k] >= 1, killops::kindName(k));
    }
};

QTEST_GUILESS_MAIN(TestKill)
#include "tst_kill.moc"
