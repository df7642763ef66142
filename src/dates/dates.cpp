#include "dates/dates.h"

#include <QStringList>

#include <algorithm>

namespace dates {

namespace {

bool allDigits(QStringView s)
{
    if (s.isEmpty()) return false;
    for (const QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

// The value of one to four ASCII digits; -1 for anything else.
int number(QStringView s, int minDigits, int maxDigits)
{
    if (s.size() < minDigits || s.size() > maxDigits || !allDigits(s)) return -1;
    int v = 0;
    for (const QChar c : s) v = v * 10 + (c.unicode() - '0');
    return v;
}

// An example taken from the platform clock; the system's when none is given.
QDateTime example(const QDateTime &now)
{
    return now.isValid() ? now : QDateTime::currentDateTime();
}

} // namespace

std::optional<QDate> readDate(const QString &typed)
{
    const QString s = typed.trimmed();
    QChar separator;
    for (const QChar c : {QLatin1Char('/'), QLatin1Char('.'), QLatin1Char('-')})
        if (s.contains(c)) {
            if (!separator.isNull()) return std::nullopt; // two kinds of separator
            separator = c;
        }
    if (separator.isNull()) return std::nullopt;
    const QStringList parts = s.split(separator);
    if (parts.size() != 3) return std::nullopt;
    const int day = number(parts.at(0), 1, 2), month = number(parts.at(1), 1, 2);
    // Two digits are a year of this century; four, any year from 1000.
    const int shortYear = number(parts.at(2), 2, 2);
    const int year = shortYear >= 0 ? 2000 + shortYear : number(parts.at(2), 4, 4);
    if (day < 0 || month < 0 || year < 1000) return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid()) return std::nullopt;
    return date;
}

std::optional<QTime> readTime(const QString &typed)
{
    const QString s = typed.trimmed();
    int hours = -1, minutes = -1;
    const qsizetype at = std::max(s.indexOf(QLatin1Char('.')), s.indexOf(QLatin1Char(':')));
    if (at >= 0) {
        const QStringView h = QStringView(s).left(at), m = QStringView(s).mid(at + 1);
        hours = number(h, 1, 2);
        minutes = number(m, 2, 2);
    } else if (s.size() <= 2) {
        hours = number(s, 1, 2);
        minutes = hours < 0 ? -1 : 0;
    } else {
        hours = number(QStringView(s).chopped(2), 1, 2);
        minutes = number(QStringView(s).right(2), 2, 2);
    }
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59) return std::nullopt;
    return QTime(hours, minutes);
}

QString dateText(const QDate &date) { return date.toString(QStringLiteral("dd/MM/yyyy")); }

QString timeText(const QTime &time) { return time.toString(QStringLiteral("hh.mm")); }

QString momentText(const QDate &date, const QTime &time)
{
    return dateText(date) + QLatin1Char(' ') + timeText(time);
}

QString normalDate(const QString &typed)
{
    const auto date = readDate(typed);
    return date ? dateText(*date) : typed;
}

QString normalTime(const QString &typed)
{
    const auto time = readTime(typed);
    return time ? timeText(*time) : typed;
}

QString dateForm(const QDateTime &now)
{
    return QStringLiteral("GG/MM/AAAA, per esempio ") + dateText(example(now).date());
}

QString timeForm(const QDateTime &now)
{
    return QStringLiteral("hh.mm, per esempio ") + timeText(example(now).time());
}

QString wrongDate(const QString &label, const QDateTime &now)
{
    return label + QStringLiteral(" errata: scrivere ") + dateForm(now) + QLatin1Char('.');
}

QString wrongTime(const QString &label, const QDateTime &now)
{
    return label + QStringLiteral(" errata: scrivere hh.mm, da 00.00 a 23.59, per esempio ")
           + timeText(example(now).time()) + QLatin1Char('.');
}

} // namespace dates
