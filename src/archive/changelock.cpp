#include "archive/changelock.h"

#include "archive/disk.h"
#include "archive/paths.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace archive {

namespace {

const QByteArray kHeader = "velmora blocco modifiche";

int g_patienceMs = 5000;
int g_otherComputerStale = 60;
int g_unreadableStale = 10;

QByteArray readAll(const QString &path, bool *exists = nullptr)
{
    QFile f(path);
    const bool opened = f.open(QIODevice::ReadOnly);
    if (exists) *exists = opened || QFileInfo::exists(path);
    return opened ? f.readAll() : QByteArray();
}

} // namespace

ChangeLock::ChangeLock(const QString &dir, const Desk &desk)
    : m_dir(dir), m_path(QDir(dir).filePath(fileName(Companion::Lock))), m_desk(desk)
{
}

ChangeLock::~ChangeLock() { release(); }

void ChangeLock::setPatience(int milliseconds) { g_patienceMs = milliseconds; }

int ChangeLock::patience() { return g_patienceMs; }

void ChangeLock::setStaleAfter(int otherComputerSeconds, int unreadableSeconds)
{
    g_otherComputerStale = otherComputerSeconds;
    g_unreadableStale = unreadableSeconds;
}

QByteArray ChangeLock::content() const
{
    return kHeader + "\r\n" + m_desk.line() + "\r\ndal: "
           + QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toLatin1() + "\r\n";
}

std::optional<Desk> ChangeLock::deskOf(const QByteArray &text)
{
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        if (auto d = Desk::fromLine(line)) return d;
    }
    return std::nullopt;
}

qint64 ageInFolder(const QString &dir, const QString &path, const Desk &desk)
{
    const QDateTime changed = QFileInfo(path).lastModified().toUTC();
    if (!changed.isValid()) return -1;
    // The folder's clock: the time it gives a file written now.
    const QString probe = QDir(dir).filePath(fileName(Companion::Lock) + QLatin1Char('.')
                                             + desk.token + ".ora");
    QDateTime now;
    {
        QFile f(probe);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            f.write("ora\r\n");
            f.close();
            now = QFileInfo(probe).lastModified().toUTC();
        }
        QFile::remove(probe);
    }
    if (!now.isValid()) now = QDateTime::currentDateTimeUtc();
    return changed.secsTo(now);
}

bool ChangeLock::stale(const QByteArray &text) const
{
    const std::optional<Desk> holder = deskOf(text);
    if (holder && holder->sameDesk(m_desk)) return true; // left by this desk itself
    if (holder && holder->sameComputer(m_desk)) return !holder->mayRun();
    const qint64 age = ageInFolder(m_dir, m_path, m_desk);
    return age >= (holder ? g_otherComputerStale : g_unreadableStale);
}

bool ChangeLock::takeOver(const QByteArray &judged)
{
    // One desk at a time takes a lock over: the one that makes the turn
    // file. It removes the lock only while it still reads as judged, so a
    // fresh lock another desk has just made is never removed. A turn left by
    // a desk that stopped in the middle goes after a while.
    const QString turn = m_path + QStringLiteral(".presa");
    QFile t(turn);
    if (!t.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (ageInFolder(m_dir, turn, m_desk) >= g_unreadableStale) QFile::remove(turn);
        return false;
    }
    t.close();
    const bool same = readAll(m_path) == judged;
    if (same) QFile::remove(m_path);
    QFile::remove(turn);
    return same;
}

IoResult ChangeLock::acquire()
{
    if (m_held) return {};
    QElapsedTimer waited;
    waited.start();
    int missing = 0;
    for (;;) {
        QFile f(m_path);
        if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            const QByteArray text = content();
            const bool written = f.write(text) == text.size() && f.flush();
            f.close();
            if (written) {
                m_held = true;
                return {};
            }
            QFile::remove(m_path);
            return IoResult::fail(IoResult::WriteFailed, m_path);
        }
        bool exists = false;
        const QByteArray text = readAll(m_path, &exists);
        if (!exists) {
            // Released between the two calls, or the folder refuses new
            // files.
            if (++missing > 20) return IoResult::fail(IoResult::WriteFailed, m_path);
            continue;
        }
        if (stale(text) && takeOver(text)) continue;
        if (waited.elapsed() >= g_patienceMs) {
            IoResult busy = IoResult::fail(IoResult::Busy, m_path);
            const std::optional<Desk> holder = deskOf(text);
            busy.told = holder ? QStringLiteral("La cartella di lavoro è occupata dalla postazione "
                                                "%1, che sta registrando una modifica: nulla è "
                                                "stato scritto. Riprovare tra qualche istante.")
                                     .arg(holder->name())
                               : QStringLiteral("La cartella di lavoro è occupata da un'altra "
                                                "postazione (il file %1 non si legge): nulla è "
                                                "stato scritto. Riprovare tra qualche istante.")
                                     .arg(fileName(Companion::Lock));
            return busy;
        }
        QThread::msleep(15);
    }
}

bool ChangeLock::stillHeld() const
{
    if (!m_held) return false;
    const std::optional<Desk> holder = deskOf(readAll(m_path));
    return holder && holder->sameDesk(m_desk);
}

void ChangeLock::release()
{
    if (!m_held) return;
    m_held = false;
    // A lock another desk took over (or that was replaced by hand) is
    // theirs to remove.
    const std::optional<Desk> holder = deskOf(readAll(m_path));
    if (holder && holder->sameDesk(m_desk)) QFile::remove(m_path);
}

} // namespace archive
