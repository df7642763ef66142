#include "vehicles/listlines.h"

#include "archive/text.h"
#include "vehicles/records.h"

namespace vehicles {

QString listHeading(const QString &emergencyName)
{
    return QString(15, QLatin1Char(' ')) + QStringLiteral("ELENCO AUTOMEZZI ") + emergencyName;
}

QString listLine(const archive::Record &r)
{
    // The state is one letter; a line from a hand-edited archive with a
    // longer or empty one keeps its 101 columns all the same.
    return registers::pairColumns(r.at(Associazione), r.at(Descrizione)) + text::fit(r.at(Stato), 1);
}

QString columnHeadings() { return registers::pairHeadings(false); }

registers::ListLines listLines(const QString &path, const QString &emergencyName,
                               registers::PairFilter filter, const QString &text)
{
    // A search with an empty text lists the vehicles that have a description.
    return registers::pairListLines(path, format(), listHeading(emergencyName), filter, text, false,
                                    listLine);
}

} // namespace vehicles
