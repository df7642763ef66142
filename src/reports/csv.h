#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Reports saved for a spreadsheet: UTF-8 (with the byte-order mark, so that
// spreadsheets on Windows read the accented letters), a header row, fields
// separated by commas, each line ended by CR LF. A field holding a comma, a
// double quote, a line break or blanks at its ends is put between double
// quotes, a double quote inside it doubled. A text that starts as a formula
// would (= + - @, a tab or a carriage return) gets an apostrophe before it.
namespace reports::csv {

QString field(const QString &value);
QByteArray document(const QStringList &header, const QList<QStringList> &rows);

} // namespace reports::csv
