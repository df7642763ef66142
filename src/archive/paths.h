#pragma once

#include <QString>
#include <QStringList>

namespace archive {

// The eighteen files of the working folder, in the order the program builds
// their paths at start.
enum class File {
    Associazioni, AssociazioniWrk, AssociazioniSav,
    Emergenza, NumeroProt,
    Automezzi, AutomezziWrk, AutomezziSav,
    Attrezzature, AttrezzatureWrk, AttrezzatureSav,
    Attivita, AttivitaWrk, AttivitaSav,
    Risorse, RisorseWrk, RisorseSav,
    Volontari,
};
constexpr int kFileCount = 18;

// The five archives that have a work file and a snapshot file beside them.
enum class Register { Associazioni, Automezzi, Attrezzature, Attivita, Risorse };

QString fileName(File f);

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
    explicit WorkingFolder(const QString &dir);

    const QString &dir() const { return m_dir; }
    QString path(File f) const;
    QStringList paths() const; // all eighteen, in order
    ArchiveSet set(Register r) const;

    // The volunteer archive has no work file among the program's files; its
    // rewrites use this companion beside it.
    QString volontariWork() const;

private:
    QString m_dir;
    QStringList m_paths;
};

} // namespace archive
