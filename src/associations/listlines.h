#pragma once

#include "archive/record.h"

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

} // namespace registers

namespace associations {

QString listHeading(const QString &emergencyName);

// Name in 50 columns, a blank, the number of volunteers from column 52.
QString listLine(const QString &denominazione, qint16 volontari);

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
