#pragma once

#include "archive/record.h"

#include <QString>
#include <QStringList>

// The lines of the activity lists, built from attivita.csv and risorse.csv.
namespace activities {

// The protocol number right-aligned in 6 characters.
QString protocolColumn(qint16 n);

// The protocol number at the head of a list line (its first 6 characters
// without the leading blanks).
QString protocolOf(const QString &listLine);

// Protocol column, then request date, request time, place and type, joined
// by single blanks.
QString shortLine(const archive::Record &activity);

// The column headings shown above short lines, never one of them: the
// protocol number, the request's date and time, then place and type.
QString shortHeadings();

// Lines 1 to 7 of an activity's block in the chronological list (the state
// line, start, end, requester, place, type and one or two note lines).
QStringList activityBlock(const archive::Record &activity);

// One resource of an activity in the chronological list.
QString chronologicalResourceLine(const archive::Record &resource);

// The column headings shown above the chronological list, never one of its
// lines: the protocol number, then what each block holds.
QString chronologicalHeadings();

// The heading of the chronological list.
QString chronologicalHeading(const QString &emergencyName);

// The rule that closes every block.
QString blockRule();

// The whole chronological list: heading, an empty line, then one block per
// activity in archive order with the resources of its first group of
// consecutive lines in risorse.csv. Each file is read once.
QStringList chronologicalList(const QString &attivitaPath, const QString &risorsePath,
                              const QString &emergencyName);

// Which activities a pick or state list shows.
enum class ShortFilter { All, Closed, Cancelled };

// Short lines of the activities that pass the filter, in archive order.
QStringList shortList(const QString &attivitaPath, ShortFilter filter);

// Short lines of every activity whose type contains the text in capitals.
QStringList searchByType(const QString &attivitaPath, const QString &typed);

} // namespace activities
