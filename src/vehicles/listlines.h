#pragma once

#include "registers/listlines.h"

// The lines of the vehicle list: association and description in 50 columns
// each, the state letter in column 101.
namespace vehicles {

QString listHeading(const QString &emergencyName);
QString listLine(const archive::Record &vehicle);
// The column headings shown above the list, never one of its lines.
QString columnHeadings();

registers::ListLines listLines(const QString &path, const QString &emergencyName,
                               registers::PairFilter filter, const QString &text = {});

} // namespace vehicles
