#include "archive/rewrite.h"

#include "archive/disk.h"
#include "archive/encoding.h"
#include "archive/journal.h"
#include "archive/text.h"

#include <QFileInfo>


namespace archive {

namespace {
constexpr int kBlock = 1 << 16;
}

void RecordSink::flush(bool final)
{
    if (m_failed || (!final && m_block.size() < kBlock) || m_block.isEmpty()) return;
    if (m_work->write(m_block) != m_block.size()) {
        m_failed = true;
        m_failedFile = m_work->fileName();
    } else if (m_archive->write(m_block) != m_block.size()) {
        m_failed = true;
        m_failedFile = m_archive->fileName();
    }
    m_block.clear();
}

void RecordSink::writeRaw(const QByteArray &line)
{
    m_block.append(line);
    m_block.append("\r\n", 2);
    flush(false);
}

void RecordSink::writeTyped(const QStringList &fields)
{
    bool ok = false;
    const QByteArray line = typedForm(fields, &ok);
    if (!ok) {
        m_encodingFailed = true;
        return;
    }
    writeRaw(line);
}

void RecordSink::copy(const Record &r) { writeRaw(copyForm(r, m_format)); }

void RecordSink::copyUnchanged(const Record &r) { writeRaw(unchangedCopyForm(r, m_format)); }

namespace {

bool blankByte(char c) { return c == ' ' || c == '\t'; }

// " 12 ", "-5 ", " 0 ": the number form of a 16-bit value, nothing else.
bool numberFormItem(const char *b, const char *e, qint16 *value)
{
    if (e - b < 3 || e[-1] != ' ') return false;
    const bool negative = *b == '-';
    if (!negative && *b != ' ') return false;
    const char *d = b + 1, *end = e - 1;
    if (d == end || end - d > 5) return false;
    if (*d == '0' && (end - d > 1 || negative)) return false;
    long v = 0;
    for (const char *p = d; p < end; ++p) {
        if (*p < '0' || *p > '9') return false;
        v = v * 10 + (*p - '0');
    }
    if (negative) v = -v;
    if (v < -32768 || v > 32767) return false;
    if (value) *value = static_cast<qint16>(v);
    return true;
}

} // namespace

bool inCopyForm(const QByteArray &line, const RecordFormat &format, qint16 *first)
{
    const char *p = line.constData();
    const char *end = p + line.size();
    int item = 0;
    const char *b = p;
    for (const char *q = p;; ++q) {
        if (q == end || *q == ',') {
            if (item >= format.count) return false;
            if (format.isNumber(item)) {
                qint16 v = 0;
                if (!numberFormItem(b, q, &v)) return false;
                if (item == 0 && first) *first = v;
            } else if (q > b && (blankByte(*b) || blankByte(q[-1]))) {
                return false;
            }
            ++item;
            if (q == end) break;
            b = q + 1;
        } else if (static_cast<unsigned char>(*q) >= 0x80) {
            return false;
        }
    }
    return item == format.count;
}

namespace {

// The rewrite itself: reads `source` (the archive, or its staged file inside
// a transaction) and writes `target` (the same) and `workPath`.
RewriteOutcome runOn(const QString &archivePath, const QString &source, const QString &target,
                     const QString &workPath, const RecordFormat &format, const LineFilter *concerns,
                     const EachRecord &each, const AtEnd &atEnd, bool seeDamaged)
{
    RewriteOutcome outcome;
    // Consultation only: refused before anything is opened.
    if (consultationOnly(archivePath) || consultationOnly(workPath)) {
        outcome.status = RewriteOutcome::Failed;
        outcome.io = IoResult::fail(IoResult::ConsultationOnly, archivePath);
        return outcome;
    }

    QFile in(source);
    const bool exists = in.exists();
    if (exists && !in.open(QIODevice::ReadOnly)) {
        outcome.status = RewriteOutcome::Failed;
        outcome.io = IoResult::fail(IoResult::ReadFailed, source);
        return outcome;
    }
    if (!writableTarget(archivePath)) {
        outcome.status = RewriteOutcome::Failed;
        outcome.io = IoResult::fail(IoResult::WriteFailed, archivePath);
        return outcome;
    }
    // The work file is made anew, never written over in place: a snapshot
    // taken with a registration may share its content on disk.
    if (!writableTarget(workPath) || (QFile::exists(workPath) && !QFile::remove(workPath))) {
        outcome.status = RewriteOutcome::Failed;
        outcome.io = IoResult::writeFailed(workPath, archivePath);
        return outcome;
    }
    QFile work(workPath);
    if (!work.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        outcome.status = RewriteOutcome::Failed;
        outcome.io = IoResult::writeFailed(workPath, archivePath);
        return outcome;
    }
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        outcome.status = RewriteOutcome::Failed;
        outcome.io = IoResult::fail(IoResult::WriteFailed, target);
        return outcome;
    }

    RecordSink sink(format);
    sink.attach(&work, &out);

    bool aborted = false;
    bool readFailed = false;
    if (exists) {
        LineReader reader(&in);
        QByteArray line;
        while (!sink.failed() && reader.next(line)) {
            qint16 key = 0;
            if (concerns && inCopyForm(line, format, &key) && !(*concerns)(line, key)) {
                sink.writeRaw(line);
                continue;
            }
            const Record r = parseRecord(line, format);
            if (r.damaged && !seeDamaged) {
                sink.writeRaw(r.raw);
                continue;
            }
            const Step step = each(r, sink);
            if (step == Step::Abort) {
                aborted = true;
                break;
            }
            if (step == Step::Keep) sink.copyUnchanged(r);
        }
        readFailed = reader.failed();
    }
    if (!aborted && !sink.failed() && !readFailed && atEnd) atEnd(sink);
    sink.flush(true);
    in.close();
    // Closing clears the device's error: look before. A staged work file is
    // named by the journal, so it goes to the disk like the archive; outside
    // a transaction the work file is only a buffer and is not synced.
    const bool staged = target != archivePath;
    const bool workFailed = !work.flush() || work.error() != QFileDevice::NoError
                            || (staged && !aborted && !disk::syncFile(work.handle()));
    work.close();

    if (aborted) {
        out.cancelWriting();
        outcome.status = RewriteOutcome::Aborted;
        return outcome;
    }
    if (readFailed) {
        out.cancelWriting();
        outcome.status = RewriteOutcome::Failed;
        outcome.io = IoResult::fail(IoResult::ReadFailed, source);
        return outcome;
    }
    if (sink.failed() || sink.encodingFailed() || workFailed) {
        out.cancelWriting();
        outcome.status = RewriteOutcome::Failed;
        const QString failed = !sink.failedFile().isEmpty() ? sink.failedFile()
                               : workFailed                 ? workPath
                                                            : target;
        outcome.io = IoResult::writeFailed(failed, archivePath);
        return outcome;
    }
    if (!commitWhole(out)) {
        outcome.status = RewriteOutcome::Failed;
        outcome.io = IoResult::notReplaced(archivePath);
        return outcome;
    }
    return outcome;
}

// `to` made to hold what `from` holds: a second name of the same file, or a
// copy. `named` is the file a failure names.
IoResult shareContent(const QString &from, const QString &to, const QString &named)
{
    QFile::remove(to);
    if (disk::linkFile(from, to)) return IoResult::success();
    QFile in(from);
    QSaveFile out(to);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return IoResult::writeFailed(named);
    for (;;) {
        const QByteArray block = in.read(1 << 20);
        if (block.isEmpty()) break;
        if (out.write(block) != block.size()) {
            out.cancelWriting();
            return IoResult::writeFailed(named);
        }
    }
    if (in.error() != QFileDevice::NoError) {
        out.cancelWriting();
        return IoResult::writeFailed(named);
    }
    return commitWhole(out) ? IoResult::success() : IoResult::writeFailed(named);
}

// Inside a transaction the archive and its work file are staged, and the
// transaction learns how the preparation ended.
RewriteOutcome run(const QString &archivePath, const QString &workPath, const RecordFormat &format,
                   const LineFilter *concerns, const EachRecord &each, const AtEnd &atEnd,
                   bool seeDamaged)
{
    Transaction *tx = Transaction::covering(archivePath);
    if (!tx && Transaction::coverable(archivePath)) {
        // A change of its own, under the folder's change lock.
        Transaction own{WorkingFolder(QFileInfo(archivePath).absolutePath())};
        RewriteOutcome o = run(archivePath, workPath, format, concerns, each, atEnd, seeDamaged);
        const IoResult io = own.commit();
        if (o.done() && !io.ok()) {
            o.status = RewriteOutcome::Failed;
            o.io = io;
        }
        return o;
    }
    if (!tx) {
        const RewriteOutcome o = runOn(archivePath, archivePath, archivePath, workPath, format,
                                       concerns, each, atEnd, seeDamaged);
        if (o.done()) settleReplaced(archivePath);
        return o;
    }
    // A change that could not take the lock, or failed already, writes
    // nothing more.
    if (tx->failed()) {
        RewriteOutcome refused;
        refused.status = RewriteOutcome::Failed;
        refused.io = tx->failure();
        return refused;
    }
    RewriteOutcome o = runOn(archivePath, tx->source(archivePath), tx->stagedArchive(archivePath),
                             tx->stagedWork(workPath), format, concerns, each, atEnd, seeDamaged);
    // A snapshot asked for with the change holds what the work file holds:
    // the same file on disk where the file system allows it, a copy
    // otherwise.
    const QString snapshot = tx->snapshotOf(archivePath);
    if (o.done() && !snapshot.isEmpty())
        o.io = shareContent(tx->stagedWork(workPath), tx->stagedArchive(snapshot), snapshot);
    if (o.status == RewriteOutcome::Aborted) tx->abandoned(archivePath, workPath);
    else o.io = tx->prepared(archivePath, workPath, o.io, snapshot);
    if (!o.io.ok()) o.status = RewriteOutcome::Failed;
    return o;
}

} // namespace

RewriteOutcome rewrite(const QString &archivePath, const QString &workPath,
                       const RecordFormat &format, const EachRecord &each, const AtEnd &atEnd,
                       bool seeDamaged)
{
    return run(archivePath, workPath, format, nullptr, each, atEnd, seeDamaged);
}

RewriteOutcome rewriteFiltered(const QString &archivePath, const QString &workPath,
                               const RecordFormat &format, const LineFilter &concerns,
                               const EachRecord &each, const AtEnd &atEnd, bool seeDamaged)
{
    return run(archivePath, workPath, format, &concerns, each, atEnd, seeDamaged);
}

RewriteOutcome rewriteKeyed(const QString &archivePath, const QString &workPath,
                            const RecordFormat &format, const KeyFilter &concerns,
                            const EachRecord &each, const AtEnd &atEnd, bool seeDamaged)
{
    if (!format.isNumber(0))
        return run(archivePath, workPath, format, nullptr, each, atEnd, seeDamaged);
    const LineFilter byNumber = [&](const QByteArray &, qint16 first) { return concerns(first); };
    return run(archivePath, workPath, format, &byNumber, each, atEnd, seeDamaged);
}

LineFilter startingWith(const QString &key50)
{
    QString key = text::fit(key50, 50);
    while (key.endsWith(QLatin1Char(' '))) key.chop(1);
    bool ok = false;
    const QByteArray prefix = cp1252::encode(key, &ok);
    if (!ok) return [](const QByteArray &, qint16) { return true; };
    // A line in copy form is plain ASCII: its first item is the stored text
    // itself, and it can only match when it starts with the key.
    return [prefix](const QByteArray &line, qint16) { return line.startsWith(prefix); };
}

bool readRecordsKeyed(const QString &path, const RecordFormat &format, const KeyFilter &concerns,
                      const std::function<bool(const Record &)> &each)
{
    QFile in(readPath(path));
    if (!in.exists()) return true;
    if (!in.open(QIODevice::ReadOnly)) return false;
    LineReader reader(&in);
    QByteArray line;
    const bool keyed = format.isNumber(0);
    while (reader.next(line)) {
        qint16 key = 0;
        if (keyed && concerns && inCopyForm(line, format, &key) && !concerns(key)) continue;
        const Record r = parseRecord(line, format);
        if (r.damaged) continue;
        if (!each(r)) break;
    }
    return !reader.failed();
}

bool readRecords(const QString &path, const RecordFormat &format,
                 const std::function<bool(const Record &)> &each)
{
    return readRecordsKeyed(path, format, {}, each);
}

} // namespace archive
