#include "archive/diary.h"

#include "archive/encoding.h"
#include "archive/journal.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

namespace diary {

namespace {

const QByteArray kFirstHash(64, '0');

std::function<QDateTime()> &clock()
{
    static std::function<QDateTime()> now;
    return now;
}

// A field as the line holds it: one line, no TAB (a blank instead).
QString field(const QString &text)
{
    QString s = text;
    for (QChar &c : s)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n')
            || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    return s;
}

// Windows-1252 bytes; a character it cannot hold (a computer's name, say)
// becomes "?" rather than losing the line.
QByteArray bytesOf(const QString &text)
{
    bool ok = false;
    QByteArray b = cp1252::encode(text, &ok);
    if (ok) return b;
    b.clear();
    for (const QChar c : text) {
        const int byte = cp1252::byteOf(c);
        b.append(byte < 0 ? '?' : char(byte));
    }
    return b;
}

QByteArray chained(const QByteArray &previous, const QByteArray &fields)
{
    return QCryptographicHash::hash(previous + '\t' + fields, QCryptographicHash::Sha256).toHex();
}

// The lines of a diary's bytes (CR LF, CR alone or LF alone end a line).
QList<QByteArray> linesOf(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n') continue;
        lines << bytes.mid(start, i - start);
        if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) lines << bytes.mid(start);
    return lines;
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

// The stored hash of a line (its seventh field) and what it covers (the
// six fields before it).
struct Split {
    QByteArray fields, hash;
    bool whole = false; // seven fields
};
Split split(const QByteArray &line)
{
    Split s;
    const qsizetype last = line.lastIndexOf('\t');
    if (last < 0) return s;
    s.fields = line.left(last);
    s.hash = line.mid(last + 1);
    s.whole = line.count('\t') == 6;
    return s;
}

} // namespace

QString path(const archive::WorkingFolder &folder)
{
    return folder.path(archive::Companion::Diary);
}

QList<Entry> readAll(const archive::WorkingFolder &folder)
{
    QList<Entry> out;
    const QList<QByteArray> lines = linesOf(readBytes(archive::readPath(path(folder))));
    for (const QByteArray &line : lines) {
        const QStringList f = cp1252::decodeLine(line).split(QLatin1Char('\t'));
        Entry e;
        e.row = int(out.size()) + 1;
        e.date = f.value(0);
        e.time = f.value(1);
        e.desk = f.value(2);
        e.kind = f.value(3);
        e.numprot = f.value(4);
        // A line with more fields than seven keeps them in its text.
        e.text = f.size() > 7 ? f.mid(5, f.size() - 6).join(QLatin1Char('\t')) : f.value(5);
        e.hash = f.size() >= 7 ? f.last() : QString();
        out << e;
    }
    return out;
}

QString Check::message() const
{
    if (alteredFrom == 0) return QStringLiteral("Il diario è integro (%1 righe).").arg(rows);
    return QStringLiteral("Il diario è stato alterato a partire dalla riga %1: le righe da lì in "
                          "poi non sono garantite.")
        .arg(alteredFrom);
}

Check check(const archive::WorkingFolder &folder)
{
    Check c;
    const QList<QByteArray> lines = linesOf(readBytes(archive::readPath(path(folder))));
    c.rows = int(lines.size());
    QByteArray previous = kFirstHash;
    for (int i = 0; i < lines.size(); ++i) {
        const Split s = split(lines.at(i));
        if (!s.whole || s.hash != chained(previous, s.fields)) {
            c.alteredFrom = i + 1;
            break;
        }
        previous = s.hash;
    }
    return c;
}

void record(const archive::WorkingFolder &folder, const QString &kind, const QString &numprot,
            const QString &text)
{
    archive::Transaction tx(folder);
    // Alone, the line is a change of its own.
    tx.tell({kind, numprot.trimmed(), text}, !tx.joined());
    tx.commit();
}

archive::IoResult addNote(const archive::WorkingFolder &folder, const QString &text)
{
    const QString target = path(folder);
    QString refusal;
    if (field(text).trimmed().isEmpty())
        refusal = QStringLiteral("La nota è vuota: scrivere il testo da aggiungere al diario.");
    else refusal = cp1252::refusal(text);
    if (!refusal.isEmpty()) {
        archive::IoResult refused = archive::IoResult::fail(archive::IoResult::WriteFailed, target);
        refused.told = refusal;
        return refused;
    }
    if (archive::consultationOnly(target))
        return archive::IoResult::fail(archive::IoResult::ConsultationOnly, target);
    archive::Transaction tx(folder);
    tx.tell({kNote, {}, field(text).trimmed()}, true);
    return tx.commit();
}

void restoreFrom(const archive::WorkingFolder &folder, const QString &copyFolder)
{
    if (archive::Transaction *tx = archive::Transaction::covering(path(folder)))
        tx->diaryFrom(QDir(copyFolder).filePath(kFileName));
}

void useClock(std::function<QDateTime()> now) { clock() = std::move(now); }

QByteArray extended(const QByteArray &base, const QList<Line> &lines, const QString &desk)
{
    QByteArray out = base;
    if (!out.isEmpty() && !out.endsWith('\n') && !out.endsWith('\r')) out += "\r\n";
    const QList<QByteArray> before = linesOf(base);
    QByteArray previous = before.isEmpty() ? kFirstHash : split(before.last()).hash;
    const QDateTime now = clock() ? clock()() : QDateTime::currentDateTime();
    const QByteArray stamp = bytesOf(now.toString(QStringLiteral("dd/MM/yyyy")) + QLatin1Char('\t')
                                     + now.toString(QStringLiteral("hh.mm.ss")) + QLatin1Char('\t')
                                     + field(desk) + QLatin1Char('\t'));
    for (const Line &l : lines) {
        const QByteArray fields = stamp
                                  + bytesOf(field(l.kind) + QLatin1Char('\t')
                                            + field(l.numprot.trimmed()) + QLatin1Char('\t')
                                            + field(l.text));
        previous = chained(previous, fields);
        out += fields + '\t' + previous + "\r\n";
    }
    return out;
}

QString changedArchives(const QStringList &names)
{
    if (names.size() == 1) return QStringLiteral("Modificato l'archivio %1.").arg(names.first());
    return QStringLiteral("Modificati gli archivi: %1.").arg(names.join(QStringLiteral(", ")));
}

} // namespace diary
