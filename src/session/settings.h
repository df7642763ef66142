#pragma once

#include "archive/io.h"
#include "archive/paths.h"

#include <QString>
#include <optional>

// The two one-line files: the emergency name and the protocol counter. Both
// are read like the archives: a byte-order mark in front is skipped.
namespace settings {

// The first line of emergenza.dat, whole (commas and quotes included);
// empty when the file is missing or empty.
QString readEmergency(const QString &path);

// The name as it is stored: line breaks become blanks, as in every record
// (commas and double quotes stay).
QString storedEmergency(const QString &typed);

// Replaces emergenza.dat with the stored name and a line end. The name must
// be representable in Windows-1252 (see cp1252::refusal).
archive::IoResult writeEmergency(const QString &path, const QString &name);

// The counter in numeroprot.dat. A missing file gives nothing, and callers
// then count from 0. A file that exists and cannot be opened, or does not
// hold a number (an empty one too), gives nothing and sets `unreadable`.
std::optional<qint16> readCounter(const QString &path, bool *unreadable = nullptr);

// Replaces numeroprot.dat with the counter in number form and a line end:
// " 57 \r\n", "-5 \r\n".
archive::IoResult writeCounter(const QString &path, qint16 value);

// The operator's changes of the two files, each one change that the diary
// tells with the value before and after.
archive::IoResult changeEmergency(const archive::WorkingFolder &folder, const QString &name);
archive::IoResult changeCounter(const archive::WorkingFolder &folder, qint16 value);

} // namespace settings
