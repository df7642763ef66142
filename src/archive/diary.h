#pragma once

#include "archive/io.h"
#include "archive/paths.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>

// The room's diary ("diario.txt" in the working folder): what happened,
// when, and which desk registered it, one line per event, for an inquiry.
//
//     DD/MM/YYYY <TAB> hh.mm.ss <TAB> desk <TAB> kind <TAB> numprot <TAB> text <TAB> hash
//
// Windows-1252, CR LF after each line. The hash is the lowercase hex
// SHA-256 of the previous line's hash (64 "0" before the first line), a TAB
// and the bytes of the first six fields joined by TABs: a byte changed, a
// line removed or a line put in breaks the chain from that line on.
//
// The diary is written with the change it tells of: every change of the
// archives (archive::Transaction) stages it beside them, with the lines its
// operations recorded, or with one line naming the archives it changed when
// none did, and replaces it together with them. A change that fails leaves
// neither the archives' change nor its line.
namespace diary {

inline const QString kFileName = QStringLiteral("diario.txt");
inline const QString kActivity = QStringLiteral("ATTIVITA"), kRegister = QStringLiteral("REGISTRO"),
                     kArchives = QStringLiteral("ARCHIVI"), kNote = QStringLiteral("NOTA");

struct Entry {
    int row = 0; // 1-based, file order
    QString date, time, desk, kind, numprot, text, hash;
};

QString path(const archive::WorkingFolder &folder);

// Every line, in file order; a missing file reads as empty.
QList<Entry> readAll(const archive::WorkingFolder &folder);

struct Check {
    int rows = 0;
    int alteredFrom = 0; // first row whose hash does not follow, 0 when intact
    QString message() const;
};
Check check(const archive::WorkingFolder &folder);

// Adds a line to the change open on `folder` (joining the open transaction,
// or opening one of its own that commits at once). The text is checked for
// the archive encoding by the caller.
void record(const archive::WorkingFolder &folder, const QString &kind, const QString &numprot,
            const QString &text);

// An operator's note: refused with an Italian message (the IoResult's
// message) when empty or when a character cannot be held by the encoding;
// otherwise one change of its own under the change lock.
archive::IoResult addNote(const archive::WorkingFolder &folder, const QString &text);

// The restore of the archives from the copy in `copyFolder` brings that
// copy's diary in with the change open on `folder`, when the folder has no
// diary or its diary is the beginning of the copy's (byte for byte): a
// diary is never shortened.
void restoreFrom(const archive::WorkingFolder &folder, const QString &copyFolder);

// Where the date and time of the lines come from (the desk's platform
// clock); none: the system clock.
void useClock(std::function<QDateTime()> now);

// For archive::Transaction. One line to write.
struct Line {
    QString kind, numprot, text;
};
// The whole new diary of a change: `base` (the diary as it stands, or the
// copy brought in by a restore) followed by `lines`, stamped now by `desk`
// and chained from the hash of the base's last line.
QByteArray extended(const QByteArray &base, const QList<Line> &lines, const QString &desk);
// The line of a change that recorded none: the archives it changed.
QString changedArchives(const QStringList &names);

} // namespace diary
