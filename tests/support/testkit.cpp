#include "testkit.h"

#include "archive/encoding.h"

#include <QDir>
#include <QFile>

TestFolder::TestFolder()
{
    ctx.folder = archive::WorkingFolder(m_dir.path());
    ctx.platform = fake.platform();
}

QString TestFolder::path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

void TestFolder::write(archive::File f, const QByteArray &bytes) const { write(archive::fileName(f), bytes); }

void TestFolder::write(const QString &name, const QByteArray &bytes) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write test file");
    file.write(bytes);
}

QByteArray TestFolder::read(archive::File f) const { return read(archive::fileName(f)); }

QByteArray TestFolder::read(const QString &name) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
    return file.readAll();
}

bool TestFolder::exists(archive::File f) const { return QFile::exists(path(f)); }

QMap<QString, QByteArray> TestFolder::files() const
{
    QMap<QString, QByteArray> out;
    for (const QString &name : QDir(dir()).entryList(QDir::Files)) out[name] = read(name);
    return out;
}

void setReadOnly(const QString &path, bool readOnly)
{
    const auto read = QFile::ReadOwner | QFile::ReadGroup | QFile::ExeOwner | QFile::ExeGroup;
    QFile::setPermissions(path, readOnly ? read | QFile::ReadOther | QFile::ExeOther : read | QFile::WriteOwner);
}

namespace {

QString setupText(const QString &font, int points, Orientation orientation, bool ended)
{
    return QStringLiteral("%1 %2 %3%4")
        .arg(font)
        .arg(points)
        .arg(orientation == Orientation::Landscape ? "landscape" : "portrait")
        .arg(ended ? " ended" : "");
}

} // namespace

QString jobSetup(const RecordingPrinter::Job &job)
{
    return setupText(job.font, job.points, job.orientation, job.ended);
}

QString printSetup(int points, Orientation orientation)
{
    return setupText(QStringLiteral("courier new"), points, orientation, true);
}

QByteArray crlf(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (const QByteArray &l : lines) out += l + "\r\n";
    return out;
}

QByteArray w1252(const char *utf8) { return cp1252::encode(QString::fromUtf8(utf8)); }
