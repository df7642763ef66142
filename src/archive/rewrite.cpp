#include "archive/rewrite.h"

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

RewriteOutcome rewrite(const QString &archivePath, const QString &workPath,
                       const RecordFormat &format, const EachRecord &each, const AtEnd &atEnd,
                       bool seeDamaged)
{
    RewriteOutcome outcome;
    QFile in(archivePath);
    const bool exists = in.exists();
    if (exists && !in.open(QIODevice::ReadOnly)) {
        outcome.status = RewriteOutcome::Failed;
        outcome.io = IoResult::fail(IoResult::ReadFailed, archivePath);
        return outcome;
    }
    if (!writableTarget(archivePath)) {
        outcome.status = RewriteOutcome::Failed;
        outcome.io = IoResult::fail(IoResult::WriteFailed, archivePath);
        return outcome;
    }
    QFile work(workPath);
    if (!work.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        outcome.status = RewriteOutcome::Failed;
        outcome.io = IoResult::fail(IoResult::WriteFailed, workPath);
        return outcome;
    }
    QSaveFile out(archivePath);
    if (!out.open(QIODevice::WriteOnly)) {
        outcome.status = RewriteOutcome::Failed;
        outcome.io = IoResult::fail(IoResult::WriteFailed, archivePath);
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
            if (step == Step::Keep) sink.copy(r);
        }
        readFailed = reader.failed();
    }
    if (!aborted && !sink.failed() && !readFailed && atEnd) atEnd(sink);
    sink.flush(true);
    in.close();
    // Closing clears the device's error: look before.
    const bool workFailed = !work.flush() || work.error() != QFileDevice::NoError;
    work.close();

    if (aborted) {
        out.cancelWriting();
        outcome.status = RewriteOutcome::Aborted;
        return outcome;
    }
    if (readFailed) {
        out.cancelWriting();
        outcome.status = RewriteOutcome::Failed;
        outcome.io = IoResult::fail(IoResult::ReadFailed, archivePath);
        return outcome;
    }
    if (sink.failed() || sink.encodingFailed() || workFailed) {
        out.cancelWriting();
        outcome.status = RewriteOutcome::Failed;
        const QString failed = !sink.failedFile().isEmpty() ? sink.failedFile()
                               : workFailed                 ? workPath
                                                            : archivePath;
        outcome.io = IoResult::fail(IoResult::WriteFailed, failed);
        return outcome;
    }
    if (!out.commit()) {
        outcome.status = RewriteOutcome::Failed;
        outcome.io = IoResult::fail(IoResult::WriteFailed, archivePath);
        return outcome;
    }
    return outcome;
}

bool readRecords(const QString &path, const RecordFormat &format,
                 const std::function<bool(const Record &)> &each)
{
    QFile in(path);
    if (!in.exists()) return true;
    if (!in.open(QIODevice::ReadOnly)) return false;
    LineReader reader(&in);
    QByteArray line;
    while (reader.next(line)) {
        const Record r = parseRecord(line, format);
        if (r.damaged) continue;
        if (!each(r)) break;
    }
    return !reader.failed();
}

RecordStream::RecordStream(const QString &path, const RecordFormat &format)
    : m_file(path), m_format(format)
{
    if (m_file.open(QIODevice::ReadOnly)) m_reader = std::make_unique<LineReader>(&m_file);
}

RecordStream::~RecordStream() = default;

bool RecordStream::next(Record &r)
{
    if (!m_reader) return false;
    QByteArray line;
    while (m_reader->next(line)) {
        r = parseRecord(line, m_format);
        if (!r.damaged) return true;
    }
    return false;
}

} // namespace archive
