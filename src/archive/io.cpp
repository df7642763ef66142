#include "archive/io.h"

#include "archive/disk.h"
#include "archive/journal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace archive {

IoResult IoResult::fail(Status s, const QString &p)
{
    if (s == WriteFailed) return writeFailed(p);
    IoResult r;
    r.status = s;
    r.path = p;
    return r;
}

IoResult IoResult::writeFailed(const QString &p, const QString &k)
{
    IoResult r;
    r.status = WriteFailed;
    r.path = p;
    r.kept = k.isEmpty() ? p : k;
    r.keptExists = QFileInfo::exists(r.kept);
    return r;
}

IoResult IoResult::notReplaced(const QString &p)
{
    IoResult r = writeFailed(p);
    r.keptBusy = r.keptExists && disk::heldOpen(p);
    return r;
}

QString IoResult::message() const
{
    if (!note.isEmpty() && status != Ok) {
        IoResult bare = *this;
        bare.note.clear();
        return bare.message() + QLatin1Char(' ') + note;
    }
    const QString name = QFileInfo(path).fileName();
    switch (status) {
    case Ok: return {};
    case SourceMissing: return QStringLiteral("Il file %1 non esiste.").arg(name);
    case ReadFailed: return QStringLiteral("Impossibile leggere il file %1 (%2).").arg(name, path);
    case WriteFailed:
        if (!told.isEmpty()) return told;
        if (keptBusy)
            return QStringLiteral("Il file %1 (%2) è aperto in un altro programma e non può essere "
                                  "sostituito: chiuderlo e riprovare. Il file %1 resta com'era.")
                .arg(QFileInfo(kept).fileName(), kept);
        return QStringLiteral("Impossibile scrivere il file %1 (%2). Il file %3 %4.")
            .arg(name, path, QFileInfo(kept.isEmpty() ? path : kept).fileName(),
                 keptExists ? QStringLiteral("resta com'era") : QStringLiteral("non è stato creato"));
    case ConsultationOnly:
        return QStringLiteral("Cartella aperta in sola consultazione: "
                              "nessun archivio è stato modificato.");
    case Busy: return told;
    }
    return {};
}

LineReader::LineReader(QIODevice *device) : m_dev(device) {}

bool LineReader::fill()
{
    if (m_eof) return false;
    if (m_pos > 0) {
        m_buf.remove(0, m_pos);
        m_pos = 0;
    }
    const QByteArray chunk = m_dev->read(1 << 16);
    if (chunk.isEmpty()) {
        auto *file = qobject_cast<QFileDevice *>(m_dev);
        if (file && file->error() != QFileDevice::NoError) m_failed = true;
        m_eof = true;
        return false;
    }
    m_buf.append(chunk);
    return true;
}

bool LineReader::next(QByteArray &line)
{
    qsizetype scan = m_pos;
    for (;;) {
        const char *d = m_buf.constData();
        const qsizetype n = m_buf.size();
        for (qsizetype i = scan; i < n; ++i) {
            const char c = d[i];
            if (c != '\n' && c != '\r') continue;
            if (c == '\r' && i + 1 == n) {
                // CR at the end of the buffer: the next byte may be its LF.
                const qsizetype rel = i - m_pos;
                if (fill()) {
                    d = m_buf.constData();
                    line = QByteArray(d + m_pos, rel);
                    qsizetype after = m_pos + rel + 1;
                    if (after < m_buf.size() && m_buf[after] == '\n') ++after;
                    m_pos = after;
                    return true;
                }
                line = QByteArray(m_buf.constData() + m_pos, rel);
                m_pos = m_buf.size();
                return true;
            }
            line = QByteArray(d + m_pos, i - m_pos);
            qsizetype after = i + 1;
            if (c == '\r' && d[after] == '\n') ++after;
            m_pos = after;
            return true;
        }
        const qsizetype scanned = n - m_pos;
        if (!fill()) {
            if (m_pos < m_buf.size()) {
                line = m_buf.mid(m_pos);
                m_pos = m_buf.size();
                return true;
            }
            return false;
        }
        scan = m_pos + scanned;
    }
}

bool writableTarget(const QString &path)
{
    // A file or folder marked read-only stays untouched even for a user who
    // could override the mark (root): replacing a file by a rename, or
    // creating one, would ignore it.
    const auto writeBits = QFileDevice::WriteOwner | QFileDevice::WriteGroup
                           | QFileDevice::WriteOther;
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (!folder.isWritable() || !(folder.permissions() & writeBits)) return false;
    if (!info.exists()) return true;
    return info.isWritable() && (info.permissions() & writeBits);
}

namespace {

// The folder as one text for comparisons: the same folder reached through a
// link or a relative path gives the same text.
QString folderKey(const QString &dir)
{
    const QString canonical = QFileInfo(dir).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QDir(dir).absolutePath()) : canonical;
}

QString &consultationFolder()
{
    static QString folder;
    return folder;
}

} // namespace

void setConsultationFolder(const QString &dir)
{
    consultationFolder() = dir.isEmpty() ? QString() : folderKey(dir);
}

bool consultationOnly(const QString &path)
{
    const QString &folder = consultationFolder();
    return !folder.isEmpty() && folderKey(QFileInfo(path).absolutePath()) == folder;
}

namespace {

// The copy into `target`: `destination` itself, or its staged file inside a
// transaction.
IoResult copyLinesTo(const QString &source, const QString &destination, const QString &target)
{
    // Consultation only: refused before anything is opened.
    if (consultationOnly(destination))
        return IoResult::fail(IoResult::ConsultationOnly, destination);

    QFile in(source);
    if (!in.exists()) return IoResult::fail(IoResult::SourceMissing, source);
    if (!in.open(QIODevice::ReadOnly)) return IoResult::fail(IoResult::ReadFailed, source);
    if (!writableTarget(destination)) return IoResult::fail(IoResult::WriteFailed, destination);
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) return IoResult::fail(IoResult::WriteFailed, destination);
    LineReader reader(&in);
    QByteArray line;
    QByteArray block;
    block.reserve(1 << 16);
    while (reader.next(line)) {
        block.append(line);
        block.append("\r\n", 2);
        if (block.size() >= (1 << 16)) {
            if (out.write(block) != block.size()) {
                out.cancelWriting();
                return IoResult::fail(IoResult::WriteFailed, destination);
            }
            block.clear();
        }
    }
    if (reader.failed()) {
        out.cancelWriting();
        return IoResult::fail(IoResult::ReadFailed, source);
    }
    if (!block.isEmpty() && out.write(block) != block.size()) {
        out.cancelWriting();
        return IoResult::fail(IoResult::WriteFailed, destination);
    }
    in.close();
    if (!commitWhole(out)) return IoResult::notReplaced(destination);
    return IoResult::success();
}

} // namespace

IoResult copyLines(const QString &source, const QString &destination)
{
    Transaction *tx = Transaction::covering(destination);
    if (!tx && Transaction::coverable(destination)) {
        // A change of its own, under the folder's change lock.
        Transaction own{WorkingFolder(QFileInfo(destination).absolutePath())};
        const IoResult done = copyLines(source, destination);
        const IoResult committed = own.commit();
        return done.ok() ? committed : done;
    }
    if (!tx) {
        const IoResult done = copyLinesTo(readPath(source), destination, destination);
        if (done.ok()) settleReplaced(destination);
        return done;
    }
    if (tx->failed()) return tx->failure();
    return tx->prepared(destination, {},
                        copyLinesTo(readPath(source), destination, tx->stagedArchive(destination)));
}

IoResult replaceFileAt(const QString &path, const QString &target, const QByteArray &content)
{
    // Consultation only: refused before anything is opened.
    if (consultationOnly(path)) return IoResult::fail(IoResult::ConsultationOnly, path);

    if (!writableTarget(path)) return IoResult::fail(IoResult::WriteFailed, path);
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) return IoResult::fail(IoResult::WriteFailed, path);
    if (out.write(content) != content.size()) {
        out.cancelWriting();
        return IoResult::fail(IoResult::WriteFailed, path);
    }
    if (!commitWhole(out)) return IoResult::notReplaced(path);
    return IoResult::success();
}

IoResult replaceFile(const QString &path, const QByteArray &content)
{
    Transaction *tx = Transaction::covering(path);
    if (!tx && Transaction::coverable(path)) {
        // A change of its own, under the folder's change lock.
        Transaction own{WorkingFolder(QFileInfo(path).absolutePath())};
        const IoResult done = replaceFile(path, content);
        const IoResult committed = own.commit();
        return done.ok() ? committed : done;
    }
    if (!tx) {
        const IoResult done = replaceFileAt(path, path, content);
        if (done.ok()) settleReplaced(path);
        return done;
    }
    if (tx->failed()) return tx->failure();
    return tx->prepared(path, {}, replaceFileAt(path, tx->stagedArchive(path), content));
}

bool commitWhole(QSaveFile &out)
{
    if (!out.flush() || out.error() != QFileDevice::NoError || !disk::syncFile(out.handle())) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

void settleReplaced(const QString &path)
{
    // The result is not reported: the rename is done and every reader
    // already sees the new content, so "stays as it was" would be false and
    // a caller would undo or repeat a change that stands. The content itself
    // was synced before the rename; only the new name may be lost at a power
    // cut.
    disk::syncFolder(QFileInfo(path).absolutePath());
}

QByteArray readFirstLine(const QString &path, bool *exists)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (exists) *exists = false;
        return {};
    }
    if (exists) *exists = true;
    LineReader reader(&f);
    QByteArray line;
    if (!reader.next(line)) return {};
    return line;
}

} // namespace archive
