#include "session/settings.h"

#include "archive/diary.h"
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

archive::IoResult changeEmergency(const archive::WorkingFolder &folder, const QString &name)
{
    archive::Transaction tx(folder);
    const QString path = folder.path(archive::File::Emergenza);
    const QString before = readEmergency(path);
    const archive::IoResult written = writeEmergency(path, name);
    if (!written.ok()) return written;
    diary::record(
        folder, diary::kArchives, {},
        QStringLiteral("Nome dell'emergenza cambiato: %1 > %2.").arg(before, storedEmergency(name)));
    return tx.commit();
}

archive::IoResult changeCounter(const archive::WorkingFolder &folder, qint16 value)
{
    archive::Transaction tx(folder);
    const QString path = folder.path(archive::File::NumeroProt);
    const QString before = QString::number(readCounter(path).value_or(0));
    const archive::IoResult written = writeCounter(path, value);
    if (!written.ok()) return written;
    diary::record(folder, diary::kArchives, {},
                  QStringLiteral("Numero protocollo cambiato: %1 > %2.").arg(before).arg(value));
    return tx.commit();
}

} // namespace settings
