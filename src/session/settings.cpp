#include "session/settings.h"

#include "archive/encoding.h"
#include "archive/journal.h"
#include "archive/text.h"

#include <QFileInfo>

namespace settings {

namespace {

QByteArray firstLine(const QString &path, bool *exists)
{
    QByteArray line = archive::readFirstLine(archive::readPath(path), exists);
    if (line.startsWith("\xEF\xBB\xBF")) line.remove(0, 3);
    return line;
}

} // namespace

QString readEmergency(const QString &path) { return cp1252::decodeLine(firstLine(path, nullptr)); }

QString storedEmergency(const QString &typed)
{
    QString out = typed;
    for (QChar &c : out)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) c = QLatin1Char(' ');
    return out;
}

archive::IoResult writeEmergency(const QString &path, const QString &name)
{
    bool ok = false;
    QByteArray bytes = cp1252::encode(storedEmergency(name), &ok);
    if (!ok) return archive::IoResult::fail(archive::IoResult::WriteFailed, path);
    bytes.append("\r\n");
    return archive::replaceFile(path, bytes);
}

std::optional<qint16> readCounter(const QString &path, bool *unreadable)
{
    bool opened = false;
    const QByteArray line = firstLine(path, &opened);
    const auto value = text::parseNumber(cp1252::decode(line));
    if (unreadable) *unreadable = !value && (opened || QFileInfo::exists(path));
    return value;
}

archive::IoResult writeCounter(const QString &path, qint16 value)
{
    return archive::replaceFile(path, text::numberForm(value).toLatin1() + "\r\n");
}

} // namespace settings
