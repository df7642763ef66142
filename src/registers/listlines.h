#pragma once

#include "archive/record.h"
#include "session/resourcekind.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The lines of the register lists (associations, vehicles, equipment): a
// heading, an empty line, one line per listed record, and for the
// association list its total. Built from the archives alone, without widgets.
namespace registers {

struct ListLines {
    QStringList lines;
    int records = 0; // the record lines follow the heading and the empty line

    // Whether the line at `row` stands for a record (not the heading, the
    // empty line or the total).
    bool isRecord(int row) const { return row >= 2 && row < 2 + records; }
};

// Which records a vehicle or equipment list shows.
enum class PairFilter {
    All,           // every record
    OfAssociation, // the records whose association is exactly the text
    Description,   // the records whose description contains the text in capitals
};

// The list of an archive whose records start with the association and the
// description. `emptyMatchesEmpty` tells whether an empty search text also
// finds the records with an empty description.
ListLines pairListLines(const QString &path, const archive::RecordFormat &format,
                        const QString &heading, PairFilter filter, const QString &text,
                        bool emptyMatchesEmpty,
                        const std::function<QString(const archive::Record &)> &line);

// Association and description, each padded or cut to 50 columns.
QString pairColumns(const QString &associazione, const QString &descrizione);

// The column headings shown above a vehicle or equipment list, never one of
// its lines: "Associazione" and "Descrizione" over their 50 columns, "Stato"
// ending over the state letter (column 101) and, for equipment, "Quantità"
// from column 104.
QString pairHeadings(bool withQuantity);
// What the state letter of a vehicle or equipment line means.
QString stateLetters();

// What a record line of a register list hands to an activity: the
// association in columns 1-50, the description in columns 51-100 (vehicles
// and equipment), and the quantity the line shows (equipment: six columns
// from column 104; associations: the volunteers, six columns from column
// 52; a vehicle is always one).
QString listAssociation(const QString &line);
QString listDescription(const QString &line);
QString listQuantity(ResourceKind kind, const QString &line);

} // namespace registers
