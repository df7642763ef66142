// Several desks on one working folder, each a process of its own
// (deskworker), some killed at random moments and started again; then each
// starts once more and ends. Every change a desk reported done must be in the
// archives, every count true, every archive wholly written. Also with host
// names of their own and through a network folder (sshfs), where allowed.
// VELMORA_DESKS_SEED and VELMORA_DESKS_SECONDS: another seed, longer (make soak);
// VELMORA_DESKS_KEEP: a folder to keep the working folder and ledgers of a
// run that fails in; VELMORA_DESKWORKER: another build of the worker.
#include "counts.h"
#include "testkit.h"

#include "activities/records.h"
#include "archive/diary.h"
#include "archive/record.h"
#include "archive/rewrite.h"
#include "associations/records.h"
#include "equipment/records.h"
#include "registers/holdings.h"
#include "vehicles/records.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <QThread>
#include <functional>
#include <memory>

using archive::File;

namespace {

// What the office owns: at the start, what is available plus what activities
// hold; a name renamed ("-R") owns what it owned before; an association or a
// piece of equipment a desk added, what its name ends with (see deskworker).
counts::Owned owned(const archive::WorkingFolder &folder, const counts::Owned &start)
{
    const auto of = [](const QMap<QString, int> &first, const QString &a, const QString &d, const QString &number) {
        const QString k = counts::key(a.endsWith("-R") ? a.chopped(2) : a, d);
        return first.contains(k) ? first[k] : number.section('-', 1, 1).toInt();
    };
    counts::Owned o;
    for (const auto &a : associations::readAll(folder.path(File::Associazioni)))
        o.volunteers[counts::key(a.denominazione)] = of(start.volunteers, a.denominazione, {}, a.denominazione);
    for (const auto &e : equipment::Archive::readAll(folder.path(File::Attrezzature)))
        o.pieces[counts::key(e.associazione, e.descrizione)] = of(start.pieces, e.associazione, e.descrizione, e.descrizione);
    return o;
}

// Every archive line whole (CR LF, readable as its record), nothing staged.
QStringList unfinished(const TestFolder &t)
{
    QStringList wrong = QDir(t.dir()).entryList({"*.new", "*.new.*", "velmora.jnl*"});
    const std::pair<File, archive::RecordFormat> archives[] = {
        {File::Associazioni, associations::format()}, {File::Automezzi, vehicles::format()}, {File::Attrezzature, equipment::format()}, {File::Attivita, activities::activityFormat()}, {File::Risorse, registers::resourceFormat()}, {File::Volontari, associations::volunteerFormat()}};
    for (const auto &[f, format] : archives) {
        const QByteArray bytes = t.read(f);
        if (!bytes.isEmpty() && !bytes.endsWith("\r\n")) wrong << archive::fileName(f) + " troncato";
        for (const QByteArray &line : bytes.split('\n').mid(0, bytes.count('\n')))
            if (!line.endsWith('\r') || line.count('\r') > 1 || archive::parseRecord(line.chopped(1), format).damaged)
                wrong << archive::fileName(f) + ": " + QString::fromLatin1(line);
    }
    for (const QString &name : QDir(t.dir()).entryList({"sospese*"}))
        if (!t.read(name).isEmpty()) wrong << name + " non vuoto dopo l'ultimo avvio";
    return wrong;
}

// What the ledgers report done and the diary does not tell, or a diary whose
// chain is broken.
QStringList untold(const TestFolder &t, const QMap<QString, QStringList> &done)
{
    const diary::Check c = diary::check(t.ctx.folder);
    QStringList wrong;
    if (c.alteredFrom) wrong << c.message();
    static const QRegularExpression activity("^Attività n\\. (\\d+) (inserita|modificata|chiusa|annullata)"),
        association("^(Inserita|Modificata|Rinominata|Eliminata) l'associazione (.+?)(?:, con .*|\\.)$");
    const QMap<QString, QString> keys{{"inserita", "INS"}, {"modificata", "MOD"}, {"chiusa", "CLOSE"}, {"annullata", "CANCEL"}, {"Inserita", "NEW"}, {"Modificata", "ASS"}, {"Rinominata", "REN"}, {"Eliminata", "DEL"}};
    QStringList told;
    for (const diary::Entry &e : diary::readAll(t.ctx.folder)) {
        if (const auto m = activity.match(e.text); m.hasMatch()) told << keys[m.captured(2)] + ' ' + m.captured(1);
        if (const auto m = association.match(e.text); m.hasMatch()) told << keys[m.captured(1)] + ' ' + m.captured(2).replace(" > ", ">");
    }
    for (auto it = done.begin(); it != done.end(); ++it)
        for (const QString &n : keys.values().contains(it.key()) ? it.value() : QStringList())
            if (told.count(it.key() + ' ' + n.trimmed()) < done[it.key()].count(n)) wrong << "diario senza " + it.key() + ' ' + n;
    wrong.removeDuplicates();
    return wrong;
}

// What the ledgers report done and the archives do not hold.
QStringList lost(const TestFolder &t, const QString &ledgers)
{
    QMap<QString, QStringList> done; // "INS" -> numbers, in every ledger
    for (const QString &name : QDir(ledgers).entryList(QDir::Files)) {
        const QByteArray all = t.read(QDir(ledgers).filePath(name));
        for (const QString &line : QString::fromUtf8(all.left(qMax(0, int(all.lastIndexOf('\n'))))).split('\n'))
            done[line.section(' ', 0, 0)] << line.section(' ', 1);
    }
    QMap<QString, archive::Record> stored;
    archive::readRecords(t.path(File::Attivita), activities::activityFormat(), [&](const archive::Record &r) {
        return stored.insert(QString::number(r.number(activities::NumProt)), r), true;
    });
    qInfo("riportate: %d inserite, %d chiuse, %d annullate, %d modificate, %d rinominate", int(done["INS"].size()),
          int(done["CLOSE"].size()), int(done["CANCEL"].size()), int(done["MOD"].size()), int(done["REN"].size()));
    QStringList wrong = untold(t, done);
    for (const QString &n : done["INS"])
        if (!stored.contains(n) || done["INS"].count(n) > 1) wrong << "INS " + n + ": assente o inserita due volte";
    for (const QString &n : done["CLOSE"])
        if (stored.value(n).fields.value(activities::Stato) != "C" || stored.value(n).fields.value(activities::OraFi).isEmpty() || done["CANCEL"].contains(n) || done["CLOSE"].count(n) > 1)
            wrong << "CLOSE " + n + ": " + QString::fromLatin1(stored.value(n).raw);
    for (const QString &n : done["CANCEL"])
        if (stored.value(n).fields.value(activities::Stato) != "S" || done["CANCEL"].count(n) > 1)
            wrong << "CANCEL " + n + ": " + QString::fromLatin1(stored.value(n).raw);
    return wrong;
}

// `count` desks for `seconds` on the folder as each sees it (`folderOf`),
// started through `wrap` (program and arguments before the worker's).
struct Desks {
    TestFolder t;
    QTemporaryDir ledgers; // outside the working folder
    std::function<QString(int desk)> folderOf = [this](int) { return t.dir(); };
    std::function<QStringList(int desk)> wrap = [](int) { return QStringList(); };
    quint32 seed = 20251208;
    double seconds;
    int count = 4;

    counts::Owned first;

    // On the example archives.
    explicit Desks(double fallback = 12)
    {
        seed = qEnvironmentVariableIsSet("VELMORA_DESKS_SEED") ? qgetenv("VELMORA_DESKS_SEED").toUInt() : seed;
        seconds = qEnvironmentVariableIsSet("VELMORA_DESKS_SECONDS") ? qEnvironmentVariableIntValue("VELMORA_DESKS_SECONDS") : fallback;
        const QDir example(VELMORA_SOURCE_DIR "/data/example");
        for (const QString &name : example.entryList(QDir::Files)) QFile::copy(example.filePath(name), t.path(name));
        first = counts::standing(t.ctx.folder);
    }

    std::unique_ptr<QProcess> start(int desk, const QStringList &more)
    {
        auto p = std::make_unique<QProcess>();
        QStringList args = wrap(desk) + QStringList{qEnvironmentVariable("VELMORA_DESKWORKER", DESKWORKER_PATH), folderOf(desk), QString("desk%1").arg(desk)} + more;
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(args.takeFirst(), args);
        if (!p->waitForStarted()) qFatal("deskworker does not start");
        return p;
    }
    static QString ended(QProcess &p, int timeout)
    {
        if (p.state() != QProcess::NotRunning && !p.waitForFinished(timeout)) {
            p.kill(), p.waitForFinished();
            return "deskworker ancora al lavoro oltre il suo tempo";
        }
        return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 ? QString() : QString("deskworker finito male (codice %1)").arg(p.exitCode());
    }

    // What went wrong, empty when nothing did.
    QString run()
    {
        if (const QString b = counts::broken(t.ctx.folder, owned(t.ctx.folder, first)); !b.isEmpty()) return "archivi di partenza: " + b;
        qInfo("seme %u, %g s, %d postazioni (VELMORA_DESKS_SEED=%u VELMORA_DESKS_SECONDS=%g per ripeterlo)", seed, seconds, count, seed, seconds);
        QRandomGenerator random(seed);
        QElapsedTimer clock;
        clock.start();
        std::vector<std::unique_ptr<QProcess>> desks;
        int runs = 0;
        auto launch = [&](int desk) {
            const quint32 s = seed * 100 + quint32(runs++);
            const QString left = QString::number(seconds - double(clock.elapsed()) / 1000, 'f', 2);
            return start(desk, {QString::number(s), left, QDir(ledgers.path()).filePath(QString::number(s))});
        };
        for (int d = 0; d < count; ++d) desks.push_back(launch(d));
        QStringList wrong;
        while (double(clock.elapsed()) + 3000 < seconds * 1000) {
            QThread::msleep(300 + random.bounded(1500u));
            auto &p = desks.at(size_t(random.bounded(count)));
            if (p->state() != QProcess::Running) wrong << ended(*p, 0);
            p->kill(); // SIGKILL
            p->waitForFinished();
            p = launch(int(&p - &desks.front()));
        }
        for (auto &p : desks) wrong << ended(*p, qMax(0, int(seconds * 1000 + 30000 - double(clock.elapsed()))));
        // Every desk starts once more and ends normally.
        for (int d = 0; d < count; ++d) wrong << ended(*start(d, {}), 60000);
        wrong.removeAll(QString());
        wrong << unfinished(t) << lost(t, ledgers.path()) << counts::broken(t.ctx.folder, owned(t.ctx.folder, first));
        wrong.removeDuplicates();
        wrong.removeAll(QString());
        // Kept for a look, when asked: the folder and the desks' ledgers.
        if (const QString keep = qEnvironmentVariable("VELMORA_DESKS_KEEP"); !wrong.isEmpty() && !keep.isEmpty())
            for (const QString &from : {t.dir(), ledgers.path()})
                QProcess::execute("cp", {"-a", from, QString("%1/%2-%3").arg(keep).arg(seed).arg(QFileInfo(from).fileName())});
        return wrong.join('\n');
    }
};

} // namespace

class TestDesks : public QObject {
    Q_OBJECT
private slots:
    void desksOnOneFolder()
    {
        Desks d;
        const QString wrong = d.run();
        QVERIFY2(wrong.isEmpty(), qPrintable(QString("seme %1:\n%2").arg(d.seed).arg(wrong)));
    }
    // As on computers of their own: each desk with its own host name.
    void desksWithHostNamesOfTheirOwn()
    {
        QProcess probe;
        probe.start("unshare", {"-u", "hostname", "prova"});
        if (!probe.waitForFinished() || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
            QSKIP(qPrintable("unshare -u non permesso qui: " + (probe.error() == QProcess::FailedToStart ? probe.errorString() : QString::fromUtf8(probe.readAllStandardError()).trimmed())));
        Desks d(8);
        d.wrap = [](int desk) { return QStringList{"unshare", "-u", "sh", "-c", QString("hostname desk%1 && exec \"$0\" \"$@\"").arg(desk)}; };
        const QString wrong = d.run();
        QVERIFY2(wrong.isEmpty(), qPrintable(QString("seme %1:\n%2").arg(d.seed).arg(wrong)));
    }
    // Each desk through a network folder of its own (sshfs to this computer).
    void desksOnANetworkFolder()
    {
#ifdef Q_OS_WIN
        QSKIP("la cartella di rete di prova (sshfs su questo computer) si monta solo su Linux");
#endif
        Desks d(8);
        QTemporaryDir net;
        QStringList mounts;
        for (int i = 0; i < d.count; ++i) mounts << net.filePath(QString::number(i)), QDir().mkpath(mounts.last());
        const auto netfolder = [&](const QStringList &args) {
            QProcess p;
            p.start("sh", QStringList{NETFOLDER_SH} + args + mounts);
            p.waitForFinished(60000);
            return p.exitCode() == 0 ? QString() : QString::fromUtf8(p.readAllStandardOutput()).trimmed();
        };
        const QString up = netfolder({"up", net.filePath("sshd"), d.t.dir()});
        if (!up.isEmpty()) QSKIP(qPrintable("cartella di rete non disponibile: " + up));
        d.folderOf = [&](int desk) { return mounts.at(desk); };
        const QString wrong = d.run();
        netfolder({"down", net.filePath("sshd")});
        QVERIFY2(wrong.isEmpty(), qPrintable(QString("seme %1:\n%2").arg(d.seed).arg(wrong)));
    }
};

QTEST_GUILESS_MAIN(TestDesks)
#include "tst_desks.moc"
