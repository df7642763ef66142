#pragma once

#include "registers/listlines.h"

#include <optional>

namespace associations {

QString listHeading(const QString &emergencyName);

// Name in 50 columns, a blank, the number of volunteers from column 52.
QString listLine(const QString &denominazione, qint16 volontari);

// The column headings shown above the list, never one of its lines: the
// name, and the volunteers from column 52.
QString columnHeadings();

// "TOTALE" in 50 columns, a blank, the sum from column 52.
QString totalLine(qint64 total);

// The association list: every association (`search` absent) or those whose
// name contains the search text in capitals (an empty text finds every
// non-empty name). `withTotal` adds a line of one blank and the total of the
// listed associations.
registers::ListLines listLines(const QString &path, const QString &emergencyName,
                               const std::optional<QString> &search, bool withTotal);

// The names containing `text` in capitals, in file order. An empty text
// finds every name, the empty ones only when `emptyNamesToo`.
QStringList namesContaining(const QString &path, const QString &text, bool emptyNamesToo);

} // namespace associations
