#pragma once

#include "archive/desk.h"

#include <QString>
#include <QStringList>

namespace archive {

// The eighteen files of the working folder, in the order the program builds
// their paths at start.
enum class File {
    Associazioni,
    AssociazioniWrk,
    AssociazioniSav,
    Emergenza,
    NumeroProt,
    Automezzi,
    AutomezziWrk,
    AutomezziSav,
    Attrezzature,
    AttrezzatureWrk,
    AttrezzatureSav,
    Attivita,
    AttivitaWrk,
    AttivitaSav,
    Risorse,
    RisorseWrk,
    RisorseSav,
    Volontari,
};
constexpr int kFileCount = 18;

// The five archives that have a work file and a snapshot file beside them.
enum class Register { Associazioni, Automezzi, Attrezzature, Attivita, Risorse };

QString fileName(File f);

// The files the program keeps in the working folder beside the eighteen.
enum class Companion {
    VolontariWork, // "volontari.wrk": the rewrite buffer of the volunteer archive
    Unregistered,  // "sospese.dat": what the activity window of a copy of the
                   // program that let one copy write at a time left
                   // unregistered; each desk now keeps its own file
                   // (WorkingFolder::deskFile)
    Lock,          // "velmora.lck": the change lock (archive/changelock.h)
    Journal,       // "velmora.jnl": a change between archives being committed
    Diary,         // "diario.txt": the room's diary (archive/diary.h)
};
QString fileName(Companion c);

// What a change between archives writes beside a file before it replaces it:
// the file's name, the id of the desk that writes it and this suffix
// ("attivita.csv.PC1-4242.new"). Each desk stages under names of its own,
// so a desk that went on writing after it lost the change lock never
// overwrites what the desk that took the lock has staged.
inline constexpr char kStagedSuffix[] = ".new";
class Desk;
QString stagedPath(const QString &target, const Desk &desk);

// An archive file with its work file (rewrite buffer) and snapshot file
// (rollback point).
struct ArchiveSet {
    QString archive;
    QString work;
    QString snapshot;
};

// The working folder and every path in it, fixed once at start.
class WorkingFolder {
public:
    WorkingFolder() = default;
    // The folder as this copy of the program's desk writes it, or as `desk`.
    explicit WorkingFolder(const QString &dir, const Desk &desk = Desk::current());

    const QString &dir() const { return m_dir; }
    const Desk &desk() const { return m_desk; }
    // What the desk's activity window holds unregistered:
    // "sospese-PC_SALA-4242.dat".
    QString deskFile() const { return deskFile(m_desk); }
    QString deskFile(const Desk &desk) const;
    // The desk files of every desk, running or not, and the file of a copy
    // that let one copy write at a time (sospese.dat), when there.
    QStringList deskFiles() const;
    QString path(File f) const;
    QStringList paths() const; // all eighteen, in order
    QString path(Companion c) const;
    ArchiveSet set(Register r) const;

    // The volunteer archive has no work file among the program's files; its
    // rewrites use this companion beside it.
    QString volontariWork() const { return path(Companion::VolontariWork); }

    // Whether `path` is one of the program's own files in this folder: the
    // eighteen, their companions, the staged files of a change and what the
    // start sweeps away as left over by one. Links and ".." are followed, and
    // names that differ only in letter case are the same file (as on
    // Windows). A file the user names (a backup, a printout, a report) must
    // never be one of them.
    bool isOwnFile(const QString &path) const;

private:
    QString m_dir;
    QStringList m_paths;
    Desk m_desk;
};

// Whether `name` is a desk file's ("sospese-….dat", or "sospese.dat").
bool isDeskFileName(const QString &name);

// The desk a desk file belongs to, as its name tells: the computer (as
// Desk::hostId() gives it) and the process. None for "sospese.dat".
struct DeskFileOwner {
    QString hostId;
    qint64 pid = 0;
    QString suffix;
};
std::optional<DeskFileOwner> deskFileOwner(const QString &path);

// What the user is told when he names one of the folder's own files as the
// file to write, or as the file to restore an archive from.
QString ownFileAsDestination(const QString &path);
QString ownFileAsSource(const QString &path);

} // namespace archive
