#include "archive/journal.h"

#include "archive/changelock.h"
#include "archive/disk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QThread>
#include <QElapsedTimer>
#include <algorithm>

namespace archive {

namespace {

const QByteArray kHeader = "velmora giornale 1";

std::vector<Transaction *> &openTransactions()
{
    static std::vector<Transaction *> open;
    return open;
}

// The names a journal may list as targets: the six archives and their work
// files, nothing else.
const QStringList &targetNames()
{
    static const QStringList names = [] {
        QStringList n;
        for (File f : {File::Associazioni, File::AssociazioniWrk, File::Automezzi,
                       File::AutomezziWrk, File::Attrezzature, File::AttrezzatureWrk, File::Attivita,
                       File::AttivitaWrk, File::Risorse, File::RisorseWrk, File::Volontari})
            n << fileName(f);
        for (File f : {File::AssociazioniSav, File::AutomezziSav, File::AttrezzatureSav,
                       File::AttivitaSav, File::RisorseSav})
            n << fileName(f);
        n << fileName(Companion::VolontariWork) << fileName(File::NumeroProt)
          << fileName(File::Emergenza) << fileName(Companion::Diary);
        return n;
    }();
    return names;
}

// The folders whose journal stays after its change was made, because the
// folder could not be synced after the renames: until a sync succeeds, a
// power cut may bring back the staged names, and the next start needs the
// journal to finish the change again.
QSet<QString> &keptJournals()
{
    static QSet<QString> kept;
    return kept;
}

// Removes the journal of `dir` once the renames it lists are durable (the
// folder synced), or keeps it for the next start.
bool settleJournal(const QString &dir, const QString &journal)
{
    if (!disk::syncFolder(dir)) {
        keptJournals().insert(dir);
        return false;
    }
    keptJournals().remove(dir);
    QFile::remove(journal);
    return true;
}

QString nothingElseChanged() { return QStringLiteral("Nessun altro archivio è stato modificato."); }

// Whether `staged` names a staged file of `target`: of some desk, or of a
// copy of the program that staged all under one name.
bool stagedFor(const QString &staged, const QString &target)
{
    static const QRegularExpression desk(QStringLiteral("^\\.[A-Za-z0-9_-]+\\.new$"));
    const QString rest = staged.mid(target.size());
    return staged.startsWith(target)
           && (rest == QLatin1String(kStagedSuffix) || desk.match(rest).hasMatch());
}

struct Entry {
    QString staged, target;
    qint64 size = -1;
};

// The entries of a journal; `complete` tells whether it ends with its
// closing line and every line reads.
std::vector<Entry> parseJournal(const QByteArray &text, const QDir &dir, bool *complete)
{
    *complete = false;
    std::vector<Entry> entries;
    if (!text.endsWith("\r\n")) return entries;
    const QList<QByteArray> lines = text.left(text.size() - 2).split('\n');
    if (lines.size() < 2 || lines.first() != kHeader + '\r') return entries;
    // The desk that wrote it, on the line after the heading.
    const int first = lines.at(1).startsWith("postazione\t") ? 2 : 1;
    for (int i = first; i < lines.size(); ++i) {
        QByteArray line = lines.at(i);
        const bool last = i == lines.size() - 1;
        if (!last) {
            if (!line.endsWith('\r')) return entries;
            line.chop(1);
        }
        const QList<QByteArray> items = line.split(' ');
        if (last) {
            bool ok = false;
            *complete = items.size() == 2 && items.at(0) == "fine"
                        && items.at(1).toLongLong(&ok) == qint64(entries.size()) && ok;
            return entries;
        }
        bool ok = false;
        Entry e;
        const QString staged = QString::fromLatin1(items.value(0));
        const QString target = QString::fromLatin1(items.value(1));
        e.size = items.value(2).toLongLong(&ok);
        if (items.size() != 3 || !ok || e.size < 0
            || !(targetNames().contains(target) || isDeskFileName(target))
            || !stagedFor(staged, target))
            return entries;
        e.staged = dir.filePath(staged);
        e.target = dir.filePath(target);
        entries.push_back(e);
    }
    return entries;
}

// Removes the staged files, and the temporary files of their writing and of
// the journal's, that a killed change left in `dir`.
void sweep(const QDir &dir)
{
    static const QRegularExpression leftover(QStringLiteral(
        "^(?:(?:associazioni|automezzi|attrezzature|attivita|risorse|volontari)"
        "\\.(?:csv|wrk|sav)(?:\\.[A-Za-z0-9_-]+)?\\.new(?:\\..+)?|(?:numeroprot|emergenza|sospese(?:-[A-Za-z0-9_-]+)?)"
        "\\.dat(?:\\.[A-Za-z0-9_-]+)?\\.new(?:\\..+)?|diario\\.txt(?:\\.[A-Za-z0-9_-]+)?\\.new(?:\\..+)?"
        "|velmora\\.(?:jnl|lck)\\..+)$"));
    const QStringList names = dir.entryList({QStringLiteral("*.new"), QStringLiteral("*.new.*"),
                                             QStringLiteral("velmora.jnl.*"),
                                             QStringLiteral("velmora.lck.*")},
                                            QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names)
        if (leftover.match(name).hasMatch()) QFile::remove(dir.filePath(name));
}

} // namespace

QString journalPath(const WorkingFolder &folder) { return folder.path(Companion::Journal); }

namespace {
bool g_locking = true;
}

void setChangeLocking(bool on) { g_locking = on; }

Transaction::Transaction(const WorkingFolder &folder) : m_folder(folder)
{
    for (File f : {File::Associazioni, File::Automezzi, File::Attrezzature, File::Attivita,
                   File::Risorse, File::Volontari, File::NumeroProt, File::Emergenza})
        m_archives << folder.path(f);
    // What the desk's activity window holds unregistered goes with the
    // registers it concerns.
    m_archives << folder.deskFile();
    m_archives << diary::path(folder);
    for (Transaction *t : openTransactions())
        if (t->m_folder.dir() == folder.dir()) m_outer = t;
    if (m_outer) return;
    openTransactions().push_back(this);
    // A folder opened for consultation only refuses every write anyway.
    if (consultationOnly(folder.path(File::Attivita)) || !g_locking) return;
    // Everything the change reads from here on is read under the lock.
    m_lock = std::make_unique<ChangeLock>(folder.dir(), folder.desk());
    const IoResult locked = m_lock->acquire();
    if (locked.status == IoResult::Busy) m_failure = locked;
    // A folder that takes no new file refuses the change's own files just
    // the same, and says so naming them; a change is never committed
    // without the lock.
    if (!locked.ok()) return;
    // A journal kept by an earlier change of this desk goes before this
    // change stages files of the same names, as soon as the folder can be
    // synced; a journal that another desk left is finished or discarded.
    if (keptJournals().contains(folder.dir())) settleJournal(folder.dir(), journalPath(folder));
    const IoResult settled = settleOthers();
    if (!settled.ok()) m_failure = settled;
}

Transaction::~Transaction()
{
    if (m_outer || !m_open) return;
    auto &open = openTransactions();
    open.erase(std::remove(open.begin(), open.end(), this), open.end());
    discard();
}

void Transaction::cover(const QString &path)
{
    if (!root()->m_archives.contains(path)) root()->m_archives << path;
}

bool Transaction::coverable(const QString &path)
{
    static const QStringList names = [] {
        QStringList n;
        for (File f : {File::Associazioni, File::Automezzi, File::Attrezzature, File::Attivita,
                       File::Risorse, File::Volontari, File::NumeroProt, File::Emergenza})
            n << fileName(f);
        n << fileName(Companion::Diary);
        return n;
    }();
    return names.contains(QFileInfo(path).fileName());
}

IoResult Transaction::settleOthers()
{
    const QString journal = journalPath(m_folder);
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        QFile f(journal);
        if (!f.open(QIODevice::ReadOnly)) return {};
        const QByteArray text = f.readAll();
        f.close();
        // A desk that wrote its journal just before it lost the lock (the
        // lock file removed by hand) may still be renaming: it is let
        // finish. Otherwise the journal's desk has stopped, or the journal
        // waits for a folder sync that failed: it is finished or
        // discarded now.
        const std::optional<Desk> owner = ChangeLock::deskOf(text);
        const bool working = owner && !owner->sameDesk(m_folder.desk()) && owner->mayRun()
                             && ageInFolder(m_folder.dir(), journal, m_folder.desk()) < 10;
        if (!working) break;
        if (waited.elapsed() > ChangeLock::patience()) {
            IoResult busy = IoResult::fail(IoResult::Busy, journal);
            busy.told = QStringLiteral("La cartella di lavoro è occupata dalla postazione %1, "
                                       "che sta registrando una modifica: nulla è stato scritto. "
                                       "Riprovare tra qualche istante.")
                            .arg(owner->name());
            return busy;
        }
        QThread::msleep(15);
    }
    const Recovery r = recover(m_folder);
    return r.status == Recovery::Failed ? r.io : IoResult{};
}

const IoResult &Transaction::failure() const { return root()->m_failure; }

Transaction *Transaction::covering(const QString &path)
{
    const auto &open = openTransactions();
    if (open.empty()) return nullptr;
    for (Transaction *t : open)
        if (t->m_archives.contains(path)) return t;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (Transaction *t : open)
        if (t->m_archives.contains(absolute)) return t;
    return nullptr;
}

const Transaction::Staged *Transaction::find(const QString &target) const
{
    for (const Staged &s : m_staged)
        if (s.target == target) return &s;
    return nullptr;
}

QString Transaction::source(const QString &archivePath) const
{
    const Staged *s = root()->find(archivePath);
    return s ? s->staged : archivePath;
}

QString Transaction::stagedArchive(const QString &archivePath) const
{
    return stagedPath(archivePath, m_folder.desk());
}

QString Transaction::stagedWork(const QString &workPath) const
{
    return stagedPath(workPath, m_folder.desk());
}

void Transaction::snapshotAtCommit(const QString &archivePath, const QString &snapshotPath)
{
    root()->m_snapshots.insert(archivePath, snapshotPath);
}

QString Transaction::snapshotOf(const QString &archivePath) const
{
    return root()->m_snapshots.value(archivePath);
}

bool Transaction::snapshotted(const QString &archivePath) const
{
    return root()->m_snapshotted.contains(archivePath);
}

IoResult Transaction::prepared(const QString &archivePath, const QString &workPath, IoResult result,
                               const QString &snapshotPath)
{
    Transaction *r = root();
    if (result.ok()) {
        for (const QString &target : {archivePath, workPath, snapshotPath})
            if (!target.isEmpty() && !r->find(target))
                r->m_staged.push_back({target, stagedPath(target, m_folder.desk())});
        if (!snapshotPath.isEmpty()) r->m_snapshotted.insert(archivePath);
        return result;
    }
    removeUnrecorded({archivePath, workPath, snapshotPath});
    if (result.status == IoResult::SourceMissing) return result;
    if (result.path == stagedArchive(archivePath) || result.path == source(archivePath))
        result.path = archivePath;
    else if (!workPath.isEmpty() && result.path == stagedWork(workPath)) result.path = workPath;
    const bool others = std::any_of(r->m_staged.begin(), r->m_staged.end(), [&](const Staged &s) {
        return s.target != archivePath && s.target != workPath;
    });
    if (others) result.note = nothingElseChanged();
    if (r->m_failure.ok()) r->m_failure = result;
    return result;
}

void Transaction::abandoned(const QString &archivePath, const QString &workPath)
{
    removeUnrecorded({archivePath, workPath});
}

void Transaction::removeUnrecorded(std::initializer_list<QString> targets)
{
    // A staged file that an earlier preparation recorded stays until the
    // transaction ends; the others are this preparation's own.
    for (const QString &target : targets)
        if (!target.isEmpty() && !root()->find(target))
            QFile::remove(stagedPath(target, m_folder.desk()));
}

void Transaction::discard()
{
    for (const Staged &s : m_staged) QFile::remove(s.staged);
    m_staged.clear();
}

IoResult Transaction::commit()
{
    if (m_outer) return m_outer->m_failure;
    if (!m_open) return m_failure;
    m_open = false;
    auto &open = openTransactions();
    open.erase(std::remove(open.begin(), open.end(), this), open.end());
    const IoResult done = replaceStaged();
    if (m_lock) m_lock->release();
    return done;
}

void Transaction::tell(const diary::Line &line, bool always)
{
    Transaction *r = root();
    r->m_diary << line;
    r->m_diaryAlways = r->m_diaryAlways || always;
}

void Transaction::diaryFrom(const QString &copy) { root()->m_diaryCopy = copy; }

IoResult Transaction::stageDiary()
{
    // A desk file, a snapshot or a work file alone is no change of the
    // archives.
    static const QList<File> changes{File::Associazioni, File::Automezzi, File::Attrezzature,
                                     File::Attivita,     File::Risorse,   File::Volontari,
                                     File::NumeroProt,   File::Emergenza};
    QStringList changed;
    for (File f : changes)
        if (find(m_folder.path(f))) changed << fileName(f);
    if (changed.isEmpty() && !m_diaryAlways) return {};
    QList<diary::Line> lines = m_diary;
    if (lines.isEmpty()) {
        changed.sort();
        lines << diary::Line{diary::kArchives, {}, diary::changedArchives(changed)};
    }
    const QString target = diary::path(m_folder);
    // The diary as it stands now, under the lock: another desk may have
    // added lines since this change began.
    QByteArray base;
    {
        QFile in(source(target));
        if (in.exists() && !in.open(QIODevice::ReadOnly))
            return IoResult::fail(IoResult::ReadFailed, target);
        if (in.isOpen()) {
            base = in.readAll();
            if (in.error() != QFileDevice::NoError)
                return IoResult::fail(IoResult::ReadFailed, target);
        }
    }
    if (!m_diaryCopy.isEmpty()) {
        // A diary is never shortened by a restore.
        QFile copy(m_diaryCopy);
        if (copy.open(QIODevice::ReadOnly)) {
            const QByteArray saved = copy.readAll();
            if (copy.error() == QFileDevice::NoError && saved.startsWith(base)) base = saved;
        }
    }
    const QString staged = stagedArchive(target);
    const IoResult written = replaceFileAt(target, staged,
                                           diary::extended(base, lines, m_folder.desk().name()));
    if (written.ok() && !find(target)) m_staged.push_back({target, staged});
    return written;
}

IoResult Transaction::replaceStaged()
{
    if (!m_failure.ok() || (m_staged.empty() && !m_diaryAlways)) {
        discard();
        return m_failure;
    }
    const QString dir = m_folder.dir();
    if (g_locking && (!m_lock || !m_lock->held())) {
        discard();
        m_failure = IoResult::fail(IoResult::WriteFailed,
                                   m_lock ? m_lock->path() : journalPath(m_folder));
        m_failure.note = nothingElseChanged();
        return m_failure;
    }
    const IoResult told = stageDiary();
    if (!told.ok()) {
        QFile::remove(stagedArchive(diary::path(m_folder)));
        discard();
        m_failure = told;
        m_failure.note = nothingElseChanged();
        return m_failure;
    }
    std::vector<Staged> order = m_staged;
    // The work file goes first, as in a rewrite outside a transaction.
    std::stable_sort(order.begin(), order.end(), [&](const Staged &a, const Staged &b) {
        return !m_archives.contains(a.target) && m_archives.contains(b.target);
    });
    // The journal names the desk and every rename. It is made by an
    // exclusive create: a journal already there belongs to a desk that
    // took the lock after this one lost it.
    const QString journal = journalPath(m_folder);
    QByteArray text = kHeader + "\r\n" + m_folder.desk().line() + "\r\n";
    for (const Staged &s : order)
        text += QFileInfo(s.staged).fileName().toLatin1() + ' '
                + QFileInfo(s.target).fileName().toLatin1() + ' '
                + QByteArray::number(QFileInfo(s.staged).size()) + "\r\n";
    text += "fine " + QByteArray::number(qsizetype(order.size())) + "\r\n";
    QFile out(journal);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        const bool taken = QFileInfo::exists(journal);
        m_staged.clear(); // they may be the other desk's by now
        m_failure = taken ? lockLost() : IoResult::fail(IoResult::WriteFailed, journal);
        if (!taken) m_failure.note = nothingElseChanged();
        return m_failure;
    }
    bool written = out.write(text) == text.size() && out.flush() && disk::syncFile(out.handle());
    out.close();
    // The journal and the staged files it names must be on the disk
    // before the first rename: otherwise nothing is replaced.
    written = written && out.error() == QFileDevice::NoError && disk::syncFolder(dir);
    if (!written) {
        QFile::remove(journal);
        discard();
        m_failure = IoResult::fail(IoResult::WriteFailed, journal);
        m_failure.note = nothingElseChanged();
        return m_failure;
    }
    // Announced by the journal, the change goes on only while the lock is
    // still this desk's: a desk that took it meanwhile finds the journal
    // and waits for this one to end.
    if (m_lock && !m_lock->stillHeld()) {
        QFile::remove(journal);
        m_staged.clear();
        m_failure = lockLost();
        return m_failure;
    }
    for (size_t i = 0; i < order.size(); ++i) {
        if (disk::replaceFile(order[i].staged, order[i].target)) continue;
        m_failure = IoResult::notReplaced(order[i].target);
        if (i == 0) {
            QFile::remove(journal);
            discard();
            m_failure.note = nothingElseChanged();
        } else {
            // The journal stays: the next change of any desk finishes it.
            // Until then nothing more is written in the folder from here,
            // so that nothing is built on archives the journal will still
            // replace.
            setConsultationFolder(dir);
            m_failure.note = QStringLiteral("La modifica degli archivi sarà completata al prossimo "
                                            "avvio del programma; fino ad allora la cartella resta "
                                            "in sola consultazione.");
        }
        return m_failure;
    }
    // Every rename is made and seen by every reader, so a folder that cannot
    // be synced now is not reported as a failed write (that would say the
    // archives stay as they were): the change is done, and its journal
    // stays so that the next change finishes it again should a power cut
    // undo the renames.
    settleJournal(dir, journal);
    m_staged.clear();
    return {};
}

IoResult Transaction::lockLost()
{
    IoResult r = IoResult::fail(IoResult::Busy, journalPath(m_folder));
    r.told = QStringLiteral("Un'altra postazione ha preso la cartella di lavoro mentre questa "
                            "registrava (il file %1 è stato tolto o sostituito): nulla è stato "
                            "scritto. Riprovare.")
                 .arg(fileName(Companion::Lock));
    return r;
}

QString readPath(const QString &path)
{
    if (openTransactions().empty()) return path;
    const Transaction *t = Transaction::covering(path);
    return t ? t->source(path) : path;
}

QString Recovery::message() const
{
    if (status != Failed) return {};
    return QStringLiteral("Una modifica degli archivi interrotta non può essere completata: %1")
        .arg(io.message());
}

Recovery recover(const WorkingFolder &folder)
{
    Recovery out;
    const QDir dir(folder.dir());
    const QString journal = journalPath(folder);
    if (QFileInfo::exists(journal)) {
        QFile f(journal);
        if (!f.open(QIODevice::ReadOnly)) {
            out.status = Recovery::Failed;
            out.io = IoResult::fail(IoResult::ReadFailed, journal);
            return out;
        }
        const QByteArray text = f.readAll();
        f.close();
        bool complete = false;
        const std::vector<Entry> entries = parseJournal(text, dir, &complete);
        // Every staged file was whole and synced before the journal was
        // written: one of another size is not trusted.
        for (const Entry &e : entries) {
            const QFileInfo staged(e.staged);
            if (staged.exists() && staged.size() != e.size) complete = false;
        }
        if (complete) {
            for (const Entry &e : entries) {
                if (!QFileInfo::exists(e.staged) || disk::replaceFile(e.staged, e.target)) continue;
                out.status = Recovery::Failed;
                out.io = IoResult::notReplaced(e.target);
                return out;
            }
            out.status = Recovery::Finished;
            // Kept until the renames are durable, as after a commit.
            settleJournal(folder.dir(), journal);
        } else {
            for (const Entry &e : entries) QFile::remove(e.staged);
            out.status = Recovery::Discarded;
            QFile::remove(journal);
        }
        if (QFileInfo::exists(journal) && !keptJournals().contains(folder.dir())) {
            out.status = Recovery::Failed;
            out.io = IoResult::fail(IoResult::WriteFailed, journal);
            return out;
        }
    }
    sweep(dir);
    return out;
}

} // namespace archive
