#include "testkit.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QProcess>

#include "archive/encoding.h"

void TestFolder::write(const QString &name, const QByteArray &bytes) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file");
}

QByteArray TestFolder::read(const QString &name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QMap<QString, QByteArray> TestFolder::files() const
{
    QMap<QString, QByteArray> out;
    // The diary grows with every change: its own tests read it.
    for (const QString &name : QDir(dir()).entryList(QDir::Files))
        if (name != diary::kFileName) out[name] = read(name);
    return out;
}

void setReadOnly(const QString &path, bool readOnly)
{
    const auto read = QFile::ReadOwner | QFile::ReadGroup | QFile::ExeOwner | QFile::ExeGroup;
    QFile::setPermissions(path, readOnly ? read | QFile::ReadOther | QFile::ExeOther : read | QFile::WriteOwner);
}

QString jobSetup(const RecordingPrinter::Job &job)
{
    return QStringLiteral("%1 %2 %3%4")
        .arg(job.font)
        .arg(job.points)
        .arg(job.orientation == Orientation::Landscape ? "landscape" : "portrait")
        .arg(job.ended ? " ended" : "");
}

QString printSetup(int points, Orientation orientation)
{
    return jobSetup({QStringLiteral("courier new"), points, orientation, {}, true});
}

QByteArray crlf(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (const QByteArray &l : lines) out += l + "\r\n";
    return out;
}

QByteArray w1252(const char *utf8) { return cp1252::encode(QString::fromUtf8(utf8)); }

qint64 endedProcess()
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("-functions")});
    p.waitForStarted();
    const qint64 pid = p.processId();
    p.waitForFinished();
    return pid;
}

void age(const QString &path, int seconds)
{
    QFile f(path);
    if (f.open(QIODevice::Append))
        f.setFileTime(QDateTime::currentDateTime().addSecs(-seconds), QFileDevice::FileModificationTime);
}
