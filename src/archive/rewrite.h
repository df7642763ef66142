#pragma once

#include "archive/io.h"
#include "archive/paths.h"
#include "archive/record.h"

#include <QFile>
#include <QSaveFile>
#include <functional>

namespace archive {

// Where the records of a rewrite go: the work file and, when the rewrite
// ends well, the archive (replaced whole, so an interruption leaves the old
// archive or the new one).
class RecordSink {
public:
    // A record written from a window, every field as given.
    void writeTyped(const QStringList &fields);
    // A record copied from the archive (numbers in number form); a damaged
    // line goes out verbatim.
    void copy(const Record &r);
    // A record copied exactly as it was read.
    void copyUnchanged(const Record &r);
    void writeRaw(const QByteArray &line);

    bool failed() const { return m_failed; }
    bool encodingFailed() const { return m_encodingFailed; }
    // The file a write failed on (empty while none did).
    const QString &failedFile() const { return m_failedFile; }

    // Set up by rewrite() only.
    explicit RecordSink(const RecordFormat &format) : m_format(format) {}
    void attach(QFile *work, QSaveFile *archive)
    {
        m_work = work;
        m_archive = archive;
    }
    void flush(bool final);

private:
    const RecordFormat &m_format;
    QFile *m_work = nullptr;
    QSaveFile *m_archive = nullptr;
    QByteArray m_block;
    bool m_failed = false;
    bool m_encodingFailed = false;
    QString m_failedFile;
};

// What a rewrite does with one readable record of the archive.
enum class Step {
    Keep,  // copy it (after whatever the callback wrote first)
    Drop,  // leave it out (the callback may have written a changed version)
    Abort, // stop: the archive stays as it was, the work file half written
};

struct RewriteOutcome {
    enum Status { Done, Aborted, Failed };
    Status status = Done;
    IoResult io; // which file failed, for Failed

    bool done() const { return status == Done; }
};

using EachRecord = std::function<Step(const Record &, RecordSink &)>;
using AtEnd = std::function<void(RecordSink &)>;

// Rewrites an archive through its work file: reads `archive` record by record
// (a missing archive reads as empty), hands every readable record to `each`,
// copies damaged lines verbatim, calls `atEnd`, then puts the work file's
// content in place of the archive. The work file stays on disk.
// With `seeDamaged`, damaged lines are handed to `each` too (Keep writes them
// verbatim), for rewrites that must keep their place among the others.
RewriteOutcome rewrite(const QString &archivePath, const QString &workPath,
                       const RecordFormat &format, const EachRecord &each, const AtEnd &atEnd = {},
                       bool seeDamaged = false);

inline RewriteOutcome rewrite(const ArchiveSet &set, const RecordFormat &format,
                              const EachRecord &each, const AtEnd &atEnd = {})
{
    return rewrite(set.archive, set.work, format, each, atEnd);
}

// The same rewrite, when only some records concern it: a line already in
// copy form that `concerns` turns down is copied as it stands without being
// read field by field. The promise: for such records `each` would return
// Keep and do nothing else. Every other line goes through `each` as in
// rewrite(). `first` is the value of the line's first item when that is a
// number (0 otherwise).
using LineFilter = std::function<bool(const QByteArray &line, qint16 first)>;
RewriteOutcome rewriteFiltered(const QString &archivePath, const QString &workPath,
                               const RecordFormat &format, const LineFilter &concerns,
                               const EachRecord &each, const AtEnd &atEnd = {},
                               bool seeDamaged = false);

inline RewriteOutcome rewriteFiltered(const ArchiveSet &set, const RecordFormat &format,
                                      const LineFilter &concerns, const EachRecord &each,
                                      const AtEnd &atEnd = {})
{
    return rewriteFiltered(set.archive, set.work, format, concerns, each, atEnd);
}

// For archives whose first field is a whole number (the activity and
// resource archives): the filter looks at that number only.
using KeyFilter = std::function<bool(qint16 number)>;
RewriteOutcome rewriteKeyed(const QString &archivePath, const QString &workPath,
                            const RecordFormat &format, const KeyFilter &concerns,
                            const EachRecord &each, const AtEnd &atEnd = {}, bool seeDamaged = false);

inline RewriteOutcome rewriteKeyed(const ArchiveSet &set, const RecordFormat &format,
                                   const KeyFilter &concerns, const EachRecord &each,
                                   const AtEnd &atEnd = {})
{
    return rewriteKeyed(set.archive, set.work, format, concerns, each, atEnd);
}

// A filter for records keyed by their first text item compared on 50
// columns (registers::sameColumn): it turns down the lines that cannot
// start with `key50`. A key that Windows-1252 cannot hold concerns every line.
LineFilter startingWith(const QString &key50);

// True when `line` stands in copy form: plain ASCII, exactly the record's
// items, texts without surrounding blanks, numbers in number form. `first`
// gets the value of the first item when that is a number.
bool inCopyForm(const QByteArray &line, const RecordFormat &format, qint16 *first = nullptr);

// Reads an archive record by record (a missing archive reads as empty);
// damaged lines are skipped. `each` returns false to stop early.
// Returns false only when the file exists and cannot be read.
bool readRecords(const QString &path, const RecordFormat &format,
                 const std::function<bool(const Record &)> &each);

// The same read for archives whose first field is a whole number: lines in
// copy form whose number `concerns` turns down are passed over unread.
bool readRecordsKeyed(const QString &path, const RecordFormat &format, const KeyFilter &concerns,
                      const std::function<bool(const Record &)> &each);

} // namespace archive
