#include "equipment/listlines.h"

#include "archive/text.h"
#include "equipment/records.h"

namespace equipment {

QString listHeading(const QString &emergencyName)
{
    return QString(15, QLatin1Char(' ')) + QStringLiteral("ELENCO ATTREZZATURE ") + emergencyName;
}

QString listLine(const archive::Record &r)
{
    // The state keeps exactly one column, so the quantity always starts in
    // column 104, where the resource window takes it from.
    return registers::pairColumns(r.at(Associazione), r.at(Descrizione)) + text::fit(r.at(Stato), 1)
           + QStringLiteral("  ") + QString::number(r.number(Quantita));
}

QString columnHeadings() { return registers::pairHeadings(true); }

registers::ListLines listLines(const QString &path, const QString &emergencyName,
                               registers::PairFilter filter, const QString &text)
{
    // A search with an empty text lists every item.
    return registers::pairListLines(path, format(), listHeading(emergencyName), filter, text, true,
                                    listLine);
}

} // namespace equipment
