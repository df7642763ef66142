#include "archive/recordstream.h"

#include "archive/journal.h"

namespace archive {

RecordStream::RecordStream(const QString &path, const RecordFormat &format)
    : m_file(readPath(path)), m_format(format)
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
