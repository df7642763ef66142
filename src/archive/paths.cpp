#include "archive/paths.h"

#include "archive/desk.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace archive {

QString fileName(File f)
{
    static const char *const names[kFileCount] = {
        "associazioni.csv", "associazioni.wrk", "associazioni.sav", "emergenza.dat",
        "numeroprot.dat",   "automezzi.csv",    "automezzi.wrk",    "automezzi.sav",
        "attrezzature.csv", "attrezzature.wrk", "attrezzature.sav", "attivita.csv",
        "attivita.wrk",     "attivita.sav",     "risorse.csv",      "risorse.wrk",
        "risorse.sav",      "volontari.csv",
    };
    return QString::fromLatin1(names[static_cast<int>(f)]);
}

QString fileName(Companion c)
{
    static const char *const names[] = {"volontari.wrk", "sospese.dat", "velmora.lck",
                                        "velmora.jnl", "diario.txt"};
    return QString::fromLatin1(names[static_cast<int>(c)]);
}

namespace {

const Companion kCompanions[] = {Companion::VolontariWork, Companion::Unregistered, Companion::Lock,
                                 Companion::Journal, Companion::Diary};

// The names of every own file.
QStringList ownNames()
{
    QStringList names;
    for (int i = 0; i < kFileCount; ++i) names << fileName(static_cast<File>(i));
    for (Companion c : kCompanions) names << fileName(c);
    return names;
}

// How paths compare where the program runs: without regard to case where
// the file system makes no difference.
Qt::CaseSensitivity pathCase()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

// A folder with its links and ".." resolved as far as it exists.
QString resolvedFolder(const QString &dir)
{
    const QString canonical = QFileInfo(dir).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QDir(dir).absolutePath()) : canonical;
}

// Whether `name` is an own file's, or a staged one's, or what the start
// sweeps away as left over by a change (see archive::recover). Letter case
// aside: a folder copied to Windows holds one file for both.
bool ownName(const QString &name)
{
    // What follows a file's name in its staged file: perhaps a desk's id,
    // the suffix, perhaps the temporary ending of its writing.
    static const QRegularExpression staged(QStringLiteral("^(?:\\.[A-Za-z0-9_-]+)?\\.new(?:\\..+)?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    const auto ownOrStaged = [&](const QString &own) {
        return name.compare(own, Qt::CaseInsensitive) == 0
               || (name.startsWith(own, Qt::CaseInsensitive)
                   && staged.match(name.mid(own.size())).hasMatch());
    };
    for (const QString &own : ownNames())
        if (ownOrStaged(own)) return true;
    if (name.startsWith(fileName(Companion::Lock) + QLatin1Char('.'), Qt::CaseInsensitive))
        return true;
    const qsizetype datEnd = name.indexOf(QLatin1String(".dat"), 0, Qt::CaseInsensitive) + 4;
    if (datEnd > 4 && isDeskFileName(name.left(datEnd)) && ownOrStaged(name.left(datEnd)))
        return true;
    return name.startsWith(fileName(Companion::Journal) + QLatin1Char('.'), Qt::CaseInsensitive);
}

} // namespace

QString stagedPath(const QString &target, const Desk &desk)
{
    return target + QLatin1Char('.') + desk.id() + QLatin1String(kStagedSuffix);
}

bool isDeskFileName(const QString &name)
{
    static const QRegularExpression desk(QStringLiteral("^sospese(?:-[A-Za-z0-9_-]+)?\\.dat$"),
                                         QRegularExpression::CaseInsensitiveOption);
    return desk.match(name).hasMatch();
}

std::optional<DeskFileOwner> deskFileOwner(const QString &path)
{
    static const QRegularExpression name(
        QStringLiteral("^sospese-([A-Za-z0-9_-]+)-(\\d+)(?:-([A-Za-z_]+))?\\.dat$"));
    const QRegularExpressionMatch m = name.match(QFileInfo(path).fileName());
    if (!m.hasMatch()) return std::nullopt;
    return DeskFileOwner{m.captured(1), m.captured(2).toLongLong(), m.captured(3)};
}

WorkingFolder::WorkingFolder(const QString &dir, const Desk &desk)
    : m_dir(QDir(dir).absolutePath()), m_desk(desk)
{
    const QDir d(m_dir);
    for (int i = 0; i < kFileCount; ++i) m_paths << d.filePath(fileName(static_cast<File>(i)));
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

QString WorkingFolder::path(Companion c) const { return QDir(m_dir).filePath(fileName(c)); }

QString WorkingFolder::deskFile(const Desk &desk) const
{
    return QDir(m_dir).filePath(QStringLiteral("sospese-%1.dat").arg(desk.id()));
}

QStringList WorkingFolder::deskFiles() const
{
    QStringList out;
    const QDir d(m_dir);
    for (const QString &name : d.entryList({QStringLiteral("sospese*.dat")}, QDir::Files, QDir::Name))
        if (isDeskFileName(name)) out << d.filePath(name);
    return out;
}

bool WorkingFolder::isOwnFile(const QString &path) const
{
    if (m_dir.isEmpty() || path.isEmpty()) return false;
    const QString folder = resolvedFolder(m_dir);
    // The file named, then what it links to, link after link (a link may
    // point to a file not yet there).
    QString at = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < 32; ++hop) {
        const QFileInfo info(at);
        if (ownName(info.fileName())
            && resolvedFolder(info.absolutePath()).compare(folder, pathCase()) == 0)
            return true;
        if (!info.isSymLink()) break;
        at = info.symLinkTarget();
    }
    // An own file may itself be a link to the file named.
    const QString target = QFileInfo(path).canonicalFilePath();
    if (target.isEmpty()) return false;
    const QDir dir(m_dir);
    for (const QString &own : ownNames()) {
        const QString ownTarget = QFileInfo(dir.filePath(own)).canonicalFilePath();
        if (!ownTarget.isEmpty() && ownTarget.compare(target, pathCase()) == 0) return true;
    }
    return false;
}

QString ownFileAsDestination(const QString &path)
{
    return QStringLiteral("Il file %1 è un archivio del programma: scegliere un altro nome.")
        .arg(QFileInfo(path).fileName());
}

QString ownFileAsSource(const QString &path)
{
    return QStringLiteral("Il file %1 è un archivio del programma e non può essere usato per il "
                          "ripristino: scegliere un altro file.")
        .arg(QFileInfo(path).fileName());
}

} // namespace archive
