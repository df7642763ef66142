#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <optional>

// The dates and times the operators type, as every window that takes them
// reads them: real days of the calendar, written "DD/MM/YYYY", and times of
// the day from 00.00 to 23.59, written "hh.mm", the forms of the archives.
// The looser forms an operator types ("8/12/26", "14:05", "1405") are read
// too and written in the archives' form. Shared by the vehicle and the
// activity registers.
namespace dates {

// A typed date: day, month and year separated by "/", "." or "-" (the same
// separator twice); day and month of one or two digits; the year of four
// digits (1000 to 9999) or of two (20YY). Blanks around it do not count.
// Nothing for any other text, nor for a day the calendar does not have
// (31/02/2026, 29/02/2025).
std::optional<QDate> readDate(const QString &typed);

// A typed time: hours of one or two digits, a "." or a ":", minutes of two
// digits ("9.30", "09:30"); three or four digits alone ("930", "0930",
// "1405"); the hour alone, one or two digits ("14" is 14.00). Hours 0 to 23,
// minutes 0 to 59. Blanks around it do not count. Nothing for any other
// text (25.99, 24.00, 9.5).
std::optional<QTime> readTime(const QString &typed);

// The archives' forms: "DD/MM/YYYY" and "hh.mm".
QString dateText(const QDate &date);
QString timeText(const QTime &time);
// "DD/MM/YYYY hh.mm".
QString momentText(const QDate &date, const QTime &time);

// The typed text in the archives' form; the text as typed when it cannot be
// read, and an empty text stays empty.
QString normalDate(const QString &typed);
QString normalTime(const QString &typed);

// The refusal of a date or time that cannot be read, naming the field (its
// label, e.g. "Data inizio") and the form, with `now` as the example:
// "Data inizio errata: scrivere GG/MM/AAAA, per esempio 08/12/2026." and
// "Ora inizio errata: scrivere hh.mm, da 00.00 a 23.59, per esempio 14.05.".
QString wrongDate(const QString &label, const QDateTime &now);
QString wrongTime(const QString &label, const QDateTime &now);

// The two forms with `now` as the example, as the refusals name them:
// "GG/MM/AAAA, per esempio 08/12/2026" and "hh.mm, per esempio 14.05".
QString dateForm(const QDateTime &now);
QString timeForm(const QDateTime &now);

} // namespace dates
