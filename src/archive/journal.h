#pragma once

#include "archive/diary.h"
#include "archive/io.h"
#include "archive/paths.h"

#include <QString>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <memory>
#include <vector>

// A change that spans archives, all or nothing.
//
//     archive::Transaction tx(folder);
//     ... any rewrites, record operations or line copies on `folder` ...
//     const archive::IoResult io = tx.commit();
//     if (!io.ok()) show(io.message());
//
// While a transaction is open on a working folder, every rewrite (and every
// line copy) whose destination is one of the folder's six archives
// (associazioni, automezzi, attrezzature, attivita, risorse, volontari)
// leaves the archive alone and writes a staged file beside it instead
// (`attivita.csv.new`, written whole and synced); its work file is staged
// the same way (`attivita.wrk.new`). Every read of such an archive inside
// the transaction sees the latest staged content, so several operations on
// one archive compose. The operations themselves take the folder as before:
// they need not know about the transaction.
//
// commit() replaces the archives only when every preparation ended well:
// one staged archive is renamed over its archive; several are listed first
// in a journal (`velmora.jnl`, synced with the folder), then renamed one by
// one, then the folder is synced and the journal removed. A transaction that
// fails to prepare a file (read-only archive, full disk, a failed sync)
// remembers the failure, removes the staged files of that step at once, and
// its commit replaces nothing; one that is destroyed without commit replaces
// nothing either. A folder that cannot be synced after the renames does not
// make the commit fail (the change is there for every reader): the journal
// then stays for the next start, until a later sync of the folder succeeds.
//
// At start the program calls recover(), which finishes a complete journal
// (renames what is still staged) and discards an incomplete one, so a kill
// at any instant leaves all of a change or none of it.
//
// A transaction opened while another is open on the same folder joins it:
// its commit replaces nothing and reports the failure so far, and the outer
// commit replaces everything. The protocol counter, the emergency name, the
// desk's file of unregistered changes and the diary are staged like the six
// archives; snapshots are written straight through, unless asked for with
// snapshotAtCommit().
//
// The room's diary (diario.txt) is staged at the commit, under the lock,
// with the lines the change told (see tell()), and replaced with the rest.
namespace archive {

class ChangeLock;

class Transaction {
public:
    explicit Transaction(const WorkingFolder &folder);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    // Replaces every prepared archive together; see above. Ok when there was
    // nothing to replace. A failed commit names the file it failed on; its
    // message says that no other archive changed (or, when the replacement
    // itself stopped half-way, that the next start completes it).
    IoResult commit();

    // The first preparation that failed (ok while none did).
    const IoResult &failure() const;
    bool failed() const { return !failure().ok(); }

    bool joined() const { return m_outer != nullptr; }

    // Also stages `path` (another desk's file, given back with the change).
    void cover(const QString &path);
    // Whether a write of `path` outside any transaction opens one of its
    // own, to be made under the folder's change lock: the six archives, the
    // protocol counter, the emergency name and the diary.
    static bool coverable(const QString &path);

    // A line of the room's diary told by this change (archive/diary.h). The
    // commit stages the diary with the lines told, under the lock, when the
    // change replaces one of the six archives, the protocol counter or the
    // emergency name (a change that told none gets one line naming what it
    // changed), or in any case once a line is told `always`.
    void tell(const diary::Line &line, bool always = false);
    // The diary copy that a restore brings in with the change, when the
    // folder's diary is missing or the copy's beginning (archive/diary.h).
    void diaryFrom(const QString &copy);

    // Asks that the snapshot `snapshotPath` of `archivePath` be taken with
    // the change: every later rewrite of the archive in this transaction
    // writes the snapshot in the same pass, and the commit puts it in place
    // with the archive. Saves reading the archive again just after it was
    // written.
    void snapshotAtCommit(const QString &archivePath, const QString &snapshotPath);
    // The snapshot a rewrite of `archivePath` also writes (empty when none
    // was asked for).
    QString snapshotOf(const QString &archivePath) const;
    // Whether the snapshot of `archivePath` was written with the change.
    bool snapshotted(const QString &archivePath) const;

    // For the writers of the archive library: the open transaction whose
    // folder holds archive `path`, if any.
    static Transaction *covering(const QString &path);
    // The file to read for `archivePath`: its staged file once it has one.
    QString source(const QString &archivePath) const;
    // Where a rewrite inside the transaction writes the archive and its work
    // file.
    QString stagedArchive(const QString &archivePath) const;
    QString stagedWork(const QString &workPath) const;
    // A preparation ended: `ok` records the staged archive (and `workPath`'s
    // staged work file and `snapshotPath`'s staged snapshot, when given);
    // otherwise `failure` is remembered and its file named as the archive,
    // and the staged files it began that no earlier preparation made are
    // removed at once. Returns the failure to report, with a note when other
    // archives of the change were already prepared.
    IoResult prepared(const QString &archivePath, const QString &workPath, IoResult result,
                      const QString &snapshotPath = {});
    // A preparation that stopped of its own accord (an aborted rewrite): the
    // staged files it began that no earlier preparation made are removed.
    void abandoned(const QString &archivePath, const QString &workPath);

private:
    struct Staged {
        QString target; // archive or work file
        QString staged;
    };
    Transaction *root() { return m_outer ? m_outer : this; }
    const Transaction *root() const { return m_outer ? m_outer : this; }
    const Staged *find(const QString &target) const;
    void removeUnrecorded(std::initializer_list<QString> targets);
    void discard();
    IoResult settleOthers();
    IoResult replaceStaged();
    IoResult stageDiary();
    IoResult lockLost();

    WorkingFolder m_folder;
    QStringList m_archives; // the six archive paths
    Transaction *m_outer = nullptr;
    std::vector<Staged> m_staged;        // in the order first prepared
    QHash<QString, QString> m_snapshots; // archive -> snapshot asked for
    QSet<QString> m_snapshotted;         // archives whose snapshot is staged
    IoResult m_failure;
    bool m_open = true;
    std::unique_ptr<ChangeLock> m_lock; // of the outermost transaction
    QList<diary::Line> m_diary;         // the lines told, in order
    bool m_diaryAlways = false;
    QString m_diaryCopy;
};

// Whether transactions take the folder's change lock (on, but for the
// benchmark that measures what the lock costs).
void setChangeLocking(bool on);

// The file to read for `path`: the staged file of an open transaction, or
// `path` itself.
QString readPath(const QString &path);

// What the start found in the working folder.
struct Recovery {
    enum Status {
        Nothing,   // no journal
        Finished,  // a complete journal: its change is now whole
        Discarded, // an incomplete journal: its staged files are gone
        Failed,    // the journal could not be finished (see io); it stays
    };
    Status status = Nothing;
    IoResult io;
    QString message() const; // for Failed
};

// Finishes or discards the journal of the working folder and removes the
// staged files a killed change left behind. Run before anything reads an
// archive, by the copy of the program that writes the folder.
Recovery recover(const WorkingFolder &folder);

// The journal of the working folder.
QString journalPath(const WorkingFolder &folder);

} // namespace archive
