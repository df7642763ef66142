#pragma once

#include "activities/records.h"
#include "archive/record.h"

#include <QStringList>

// A 114-column line of the activity window's resource list.
inline QString listLine(const QString &tipo, int qty, const QString &assoc, const QString &descr)
{
    return tipo + "  " + QString::number(qty).rightJustified(5) + "   " + assoc.leftJustified(50)
           + descr.leftJustified(50);
}

// A resource record as written from a list line (typed form).
inline QByteArray stored(const QByteArray &n, const QByteArray &tipo, int qty,
                         const QByteArray &assoc, const QByteArray &descr, const QByteArray &state)
{
    return n + "," + tipo + "," + QByteArray::number(qty).rightJustified(5) + " ,"
           + assoc.leftJustified(50) + "," + descr.leftJustified(50) + "," + state;
}

// The same record as a rewrite copies it: the number in number form, the
// texts as read (without the blanks around them).
inline QByteArray copied(const QByteArray &n, const QByteArray &tipo, int qty,
                         const QByteArray &assoc, const QByteArray &descr, const QByteArray &state)
{
    return " " + n + " ," + tipo + "," + QByteArray::number(qty) + "," + assoc + ","
           + descr.trimmed() + "," + state;
}

// The records of risorse.csv as their fields ("7,ATTR,3,ALFA,TENDA,O"),
// whatever form each line stands in.
inline QStringList resourceRecords(const QByteArray &bytes)
{
    QStringList out;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        if (!line.isEmpty()) out << archive::parseRecord(line, activities::resourceFormat()).fields.join(',');
    }
    return out;
}
