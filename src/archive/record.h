#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

namespace archive {

// Shape of one kind of record: how many items, and which are 16-bit whole
// numbers.
struct RecordFormat {
    int count = 0;
    QVector<int> numbers; // indexes of the whole-number fields

    bool isNumber(int i) const { return numbers.contains(i); }
};

// One archive line as read. A line that cannot be read as its record (a
// number field that is not a 16-bit number, or more items than the record
// has) is `damaged`: lists and searches skip it, rewrites keep it verbatim.
struct Record {
    QByteArray raw;         // the line as it stands in the file, without line end
    QStringList fields;     // the items with their surrounding blanks dropped
    QVector<qint16> values; // value of each field (0 for texts)
    bool damaged = false;
    bool utf8 = false; // the line was read as UTF-8
    // The line as read already stands in copy form (bare texts, numbers in
    // number form, Windows-1252): copying it unchanged gives `raw` again.
    bool copyFormRaw = false;

    const QString &at(int i) const { return fields.at(i); }
    qint16 number(int i) const { return values.at(i); }
};

Record parseRecord(const QByteArray &line, const RecordFormat &format);

// A record written as a rewrite copies it: texts bare, numbers in number
// form. A record read as UTF-8 keeps that encoding when Windows-1252 cannot
// hold it.
QByteArray copyForm(const Record &r, const RecordFormat &format);

// The copy form of a record exactly as it was read (not changed since):
// the raw line itself when it already stands in copy form.
inline QByteArray unchangedCopyForm(const Record &r, const RecordFormat &format)
{
    return r.copyFormRaw ? r.raw : copyForm(r, format);
}

// A record written from a window: every field exactly as given (numbers in
// typed form). `ok` is false when a character cannot be encoded.
QByteArray typedForm(const QStringList &fields, bool *ok = nullptr);

} // namespace archive
