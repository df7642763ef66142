#pragma once

#include "archive/io.h"

#include <QString>
#include <optional>

// The two one-line files: the emergency name and the protocol counter.
namespace settings {

// The first line of emergenza.dat, whole (commas and quotes included);
// empty when the file is missing or empty.
QString readEmergency(const QString &path);

// Replaces emergenza.dat with the name and a line end. The name must be
// representable in Windows-1252 (see cp1252::refusal).
archive::IoResult writeEmergency(const QString &path, const QString &name);

// The counter in numeroprot.dat. A missing, empty or unreadable file gives
// nothing; callers then count from 0.
std::optional<qint16> readCounter(const QString &path);

// Replaces numeroprot.dat with the counter in number form and a line end:
// " 57 \r\n", "-5 \r\n".
archive::IoResult writeCounter(const QString &path, qint16 value);

} // namespace settings
