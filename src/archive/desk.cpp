#include "archive/desk.h"

#include "archive/disk.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSysInfo>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace archive {

namespace {

const QByteArray kTag = "postazione";

QString userName()
{
    for (const char *variable : {"USER", "LOGNAME", "USERNAME"}) {
        const QString name = qEnvironmentVariable(variable);
        if (!name.isEmpty()) return name;
    }
#ifdef Q_OS_UNIX
    if (const passwd *pw = getpwuid(geteuid())) return QString::fromLocal8Bit(pw->pw_name);
#endif
    return QStringLiteral("?");
}

QByteArray newToken()
{
    QByteArray t(16, Qt::Uninitialized);
    QRandomGenerator::system()->generate(t.begin(), t.end());
    return t.toHex();
}

// Tabs and line ends cannot stand in a field of the desk's line.
QByteArray field(const QString &s)
{
    QByteArray b = s.toUtf8();
    for (char &c : b)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return b;
}

} // namespace

const Desk &Desk::current()
{
    static const Desk desk = [] {
        Desk d;
        d.host = QSysInfo::machineHostName();
        if (d.host.isEmpty()) d.host = QStringLiteral("computer");
        d.user = userName();
        d.pid = d.process = QCoreApplication::applicationPid();
        d.token = newToken();
        return d;
    }();
    return desk;
}

Desk Desk::another(const QString &suffix)
{
    Desk d = current();
    d.token = newToken();
    d.suffix = suffix;
    return d;
}

QString Desk::hostId() const
{
    QString h;
    for (const QChar c : host)
        h += (c.isLetterOrNumber() && c.unicode() < 128) || c == QLatin1Char('-') ? c.toUpper()
                                                                                  : QLatin1Char('_');
    return h.left(40);
}

QString Desk::id() const
{
    QString out = hostId() + QLatin1Char('-') + QString::number(pid);
    if (!suffix.isEmpty()) out += QLatin1Char('-') + suffix;
    return out;
}

QString Desk::name() const { return QStringLiteral("%1 (utente %2)").arg(host, user); }

bool Desk::sameComputer(const Desk &other) const { return hostId() == other.hostId(); }

bool Desk::mayRun() const
{
    if (!sameComputer(current())) return true;
    const qint64 running = process ? process : pid;
    return running == current().process || disk::processRunning(running);
}

QByteArray Desk::line() const
{
    return kTag + '\t' + field(host) + '\t' + field(user) + '\t' + QByteArray::number(pid) + '\t'
           + token + '\t' + field(suffix) + '\t' + QByteArray::number(process ? process : pid);
}

std::optional<Desk> Desk::fromLine(const QByteArray &line)
{
    const QList<QByteArray> items = line.split('\t');
    if (items.size() != 7 || items.at(0) != kTag) return std::nullopt;
    Desk d;
    bool ok = false;
    d.host = QString::fromUtf8(items.at(1));
    d.user = QString::fromUtf8(items.at(2));
    d.pid = items.at(3).toLongLong(&ok);
    d.token = items.at(4);
    d.suffix = QString::fromUtf8(items.at(5));
    bool processOk = false;
    d.process = items.at(6).toLongLong(&processOk);
    if (!ok || !processOk || d.host.isEmpty() || d.token.isEmpty()) return std::nullopt;
    return d;
}

} // namespace archive
