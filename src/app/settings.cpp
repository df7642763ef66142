#include "app/settings.h"

#include "archive/encoding.h"
#include "archive/text.h"

namespace settings {

QString readEmergency(const QString &path)
{
    return cp1252::decodeLine(archive::readFirstLine(path));
}

archive::IoResult writeEmergency(const QString &path, const QString &name)
{
    bool ok = false;
    QByteArray bytes = cp1252::encode(name, &ok);
    if (!ok) return archive::IoResult::fail(archive::IoResult::WriteFailed, path);
    bytes.append("\r\n");
    return archive::replaceFile(path, bytes);
}

std::optional<qint16> readCounter(const QString &path)
{
    return text::parseNumber(cp1252::decode(archive::readFirstLine(path)));
}

archive::IoResult writeCounter(const QString &path, qint16 value)
{
    return archive::replaceFile(path, text::numberForm(value).toLatin1() + "\r\n");
}

} // namespace settings
