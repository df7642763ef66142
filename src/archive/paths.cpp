#include "archive/paths.h"

#include <QDir>

namespace archive {

QString fileName(File f)
{
    static const char *const names[kFileCount] = {
        "associazioni.csv", "associazioni.wrk", "associazioni.sav",
        "emergenza.dat", "numeroprot.dat",
        "automezzi.csv", "automezzi.wrk", "automezzi.sav",
        "attrezzature.csv", "attrezzature.wrk", "attrezzature.sav",
        "attivita.csv", "attivita.wrk", "attivita.sav",
        "risorse.csv", "risorse.wrk", "risorse.sav",
        "volontari.csv",
    };
    return QString::fromLatin1(names[static_cast<int>(f)]);
}

WorkingFolder::WorkingFolder(const QString &dir)
    : m_dir(QDir(dir).absolutePath())
{
    const QDir d(m_dir);
    for (int i = 0; i < kFileCount; ++i)
        m_paths << d.filePath(fileName(static_cast<File>(i)));
}

QString WorkingFolder::path(File f) const { return m_paths.value(static_cast<int>(f)); }

QStringList WorkingFolder::paths() const { return m_paths; }

ArchiveSet WorkingFolder::set(Register r) const
{
    File base = File::Associazioni;
    switch (r) {
    case Register::Associazioni: base = File::Associazioni; break;
    case Register::Automezzi: base = File::Automezzi; break;
    case Register::Attrezzature: base = File::Attrezzature; break;
    case Register::Attivita: base = File::Attivita; break;
    case Register::Risorse: base = File::Risorse; break;
    }
    const int b = static_cast<int>(base);
    return {m_paths.value(b), m_paths.value(b + 1), m_paths.value(b + 2)};
}

QString WorkingFolder::volontariWork() const { return QDir(m_dir).filePath(QStringLiteral("volontari.wrk")); }

} // namespace archive
