#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

class QSaveFile;

namespace archive {

// How a file operation ended. Missing sources are not failures of their own:
// every reader takes a missing archive as an empty one.
struct IoResult {
    enum Status { Ok, SourceMissing, ReadFailed, WriteFailed, ConsultationOnly, Busy };
    Status status = Ok;
    QString path; // the file that failed
    // For WriteFailed: the file that was to be replaced and keeps its old
    // content (the archive of a rewrite whose work file failed), and
    // whether it existed (otherwise it was not created).
    QString kept;
    bool keptExists = true;
    // Whether another program holds `kept` open (Windows will not replace it).
    bool keptBusy = false;
    QString note; // said after the message (what else stayed as it was)
    QString told; // for Busy: the whole message (who holds the folder); for
                  // WriteFailed: a refusal before anything was written

    bool ok() const { return status == Ok; }
    static IoResult success() { return {}; }
    static IoResult fail(Status s, const QString &p);
    // `path` could not be written; `kept` (by default `path` itself) stays
    // as it stands now.
    static IoResult writeFailed(const QString &path, const QString &kept = {});
    // `path` could not be replaced by its new content. The program holds
    // none of its files open then: one held open is another program's, and
    // the message says so.
    static IoResult notReplaced(const QString &path);

    // A clear Italian message naming the file (empty when ok); for a write,
    // also the file that stays as it was.
    QString message() const;
};

// Reads a device line by line. A line ends at CR LF, at CR alone, at LF alone
// or at the end of the data; the line end is not part of the line. A last
// line without line end is still a line; nothing after the last line end is
// not.
class LineReader {
public:
    explicit LineReader(QIODevice *device);
    bool next(QByteArray &line);
    bool failed() const { return m_failed; }

private:
    bool fill();
    QIODevice *m_dev;
    QByteArray m_buf;
    qsizetype m_pos = 0;
    bool m_eof = false;
    bool m_failed = false;
};

// Copies `source` into `destination` line by line, every line followed by
// CR LF. The source is opened before the destination is touched, and the
// destination is replaced whole (temporary file, then rename), so an
// interruption leaves the old destination or the new one. A missing source
// leaves the destination as it is and reports SourceMissing.
IoResult copyLines(const QString &source, const QString &destination);

// Replaces `path` with `content` whole (temporary file, then rename).
// Both replace a file only once its content is on the disk, and sync the
// folder after the rename (inside a transaction, its commit does).
IoResult replaceFile(const QString &path, const QByteArray &content);
// The same written into `target` (the staged file of `path` inside a
// transaction); failures name `path`. Nothing is renamed over `path`.
IoResult replaceFileAt(const QString &path, const QString &target, const QByteArray &content);

// Puts a QSaveFile's content in place only when the disk holds every byte:
// the buffered bytes are flushed and checked, then synced and checked, first
// (Qt 6.4's commit() renames even after a failed flush, and ignores its own
// sync). On failure the writing is cancelled, the old file stays, and false
// is returned.
bool commitWhole(QSaveFile &out);

// After `path` was replaced outside a transaction: syncs its folder, so that
// the change survives a power cut.
void settleReplaced(const QString &path);

// Reads the whole first line of `path` (empty when the file is missing or
// empty). `exists` tells whether the file could be read.
QByteArray readFirstLine(const QString &path, bool *exists = nullptr);

// An existing file that the user may not write (read-only) must not be
// replaced behind his back by a rename.
bool writableTarget(const QString &path);

// A working folder that another copy of the program holds is opened for
// consultation only: from then on every write into it is refused before
// anything is written (ConsultationOnly). An empty text lifts the refusal.
void setConsultationFolder(const QString &dir);
// True when `path` lies in the folder opened for consultation only.
bool consultationOnly(const QString &path);

} // namespace archive
