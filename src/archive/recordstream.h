#pragma once

#include "archive/io.h"
#include "archive/record.h"

#include <QFile>
#include <memory>

namespace archive {

// Streams the records of an archive one at a time, for walks that go beside
// another file. Damaged lines are skipped.
class RecordStream {
public:
    RecordStream(const QString &path, const RecordFormat &format);
    ~RecordStream();
    bool next(Record &r);

private:
    QFile m_file;
    RecordFormat m_format;
    std::unique_ptr<LineReader> m_reader;
};

} // namespace archive
