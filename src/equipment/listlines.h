#pragma once

#include "registers/listlines.h"

// The lines of the equipment list: association and description in 50
// columns each, the state letter in column 101, two blanks and the quantity
// from column 104.
namespace equipment {

QString listHeading(const QString &emergencyName);
QString listLine(const archive::Record &item);
// The column headings shown above the list, never one of its lines.
QString columnHeadings();

registers::ListLines listLines(const QString &path, const QString &emergencyName,
                               registers::PairFilter filter, const QString &text = {});

} // namespace equipment
