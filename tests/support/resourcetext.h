#pragma once

#include <QByteArray>
#include <QString>

// Resource lines as the activity window shows them and as risorse.csv holds
// them, for the activity tests.

// A 114-column resource list line.
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
