#include "session/folderlock.h"

#include "archive/io.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

// The lines added after the lock file's own content.
const QByteArray kUser = "utente: ";
const QByteArray kSince = "dal: ";
// Seconds an unreadable lock must stand unchanged before it is taken over.
constexpr qint64 kUnreadableGrace = 10;

QString userName()
{
    for (const char *variable : {"USER", "LOGNAME", "USERNAME"}) {
        const QString name = qEnvironmentVariable(variable);
        if (!name.isEmpty()) return name;
    }
#ifdef Q_OS_UNIX
    if (const passwd *pw = getpwuid(geteuid())) return QString::fromLocal8Bit(pw->pw_name);
#endif
    return {};
}

} // namespace

FolderLock::FolderLock(const QString &dir) : m_path(QDir(dir).filePath(fileName())), m_lock(m_path)
{
    // Only a holder that no longer runs leaves a stale lock, never an old one.
    m_lock.setStaleLockTime(0);
}

bool FolderLock::acquire(const QDateTime &since)
{
    if (!m_lock.tryLock(0) && !takeOverUnreadable()) return false;
    QFile file(m_path);
    if (file.open(QIODevice::Append)) {
        // Who and since when, for a copy that finds the folder held; the
        // lock holds without them.
        file.write(kUser + userName().toUtf8() + '\n' + kSince
                   + since.toString(Qt::ISODate).toLatin1() + '\n');
    }
    return true;
}

bool FolderLock::takeOverUnreadable()
{
    // A lock that names a copy on this computer that no longer runs is
    // already taken over by tryLock(); one that names another computer is
    // that computer's to release. An empty or garbled one names nobody, and
    // QLockFile would never count it as stale.
    if (m_lock.error() != QLockFile::LockFailedError) return false;
    // Two copies that find it together take turns, as QLockFile does itself
    // for a stale lock.
    QLockFile turn(m_path + QStringLiteral(".rmlock"));
    if (!turn.tryLock(0)) return false;
    qint64 pid = 0;
    QString host, application;
    if (m_lock.getLockInfo(&pid, &host, &application)) return false;
    // A copy that is creating its lock leaves it empty for an instant, before
    // it holds it: only a lock left alone for a while is taken.
    const QDateTime changed = QFileInfo(m_path).lastModified();
    if (!changed.isValid() || changed.secsTo(QDateTime::currentDateTime()) < kUnreadableGrace)
        return false;
    // A copy that still runs holds a lock of the system on the file (Qt's
    // flock on Unix, the open file on Windows), whatever the file says:
    // removeStaleLockFile() then refuses to remove it.
    return m_lock.removeStaleLockFile() && m_lock.tryLock(0);
}

QString FolderLock::busyQuestion() const
{
    QString text;
    if (m_lock.error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString host, application;
        m_lock.getLockInfo(&pid, &host, &application);
        QString user;
        QDateTime since;
        QFile file(m_path);
        if (file.open(QIODevice::ReadOnly)) {
            for (QByteArray line : file.readAll().split('\n')) {
                if (line.startsWith(kUser)) user = QString::fromUtf8(line.mid(kUser.size()));
                if (line.startsWith(kSince))
                    since = QDateTime::fromString(QString::fromLatin1(line.mid(kSince.size())),
                                                  Qt::ISODate);
            }
        }
        text = QStringLiteral("La cartella di lavoro è già in uso da velmora");
        if (!host.isEmpty()) text += QStringLiteral(" sul computer ") + host;
        if (!user.isEmpty()) text += QStringLiteral(", utente ") + user;
        if (since.isValid())
            text += QStringLiteral(", dalle %1 del %2")
                        .arg(since.toString(QStringLiteral("hh.mm")),
                             since.toString(QStringLiteral("dd/MM/yyyy")));
        text += QLatin1Char('.');
    } else {
        text = QStringLiteral("La cartella di lavoro non può essere riservata a questa copia di "
                              "velmora (%1).")
                   .arg(QDir::toNativeSeparators(m_path));
    }
    return text + QStringLiteral("\n\nAprirla in sola consultazione?");
}

bool claimFolder(Context &ctx, FolderLock &lock)
{
    if (lock.acquire(ctx.platform.clock->now())) return true;
    if (!ctx.platform.prompts->question(lock.busyQuestion())) return false;
    ctx.consultation = true;
    archive::setConsultationFolder(ctx.folder.dir());
    return true;
}
