#pragma once

#include <QDate>
#include <QString>
#include <QVector>

// The limits the law sets on the days of service a volunteer's employer is
// compensated for: so many consecutive days, so many in a calendar year;
// more when the emergency is declared of national relevance. Days past
// either limit are still days of service, only not covered.
namespace reports {

struct Limits {
    int consecutive = 30;
    int yearly = 90;
};

// 30 consecutive days and 90 in a year; 60 and 180 for an emergency of
// national relevance.
Limits legalLimits(bool national);

// "30 giorni consecutivi, 90 nell'anno"
QString limitsText(const Limits &limits);

// The calendar days from `first` to `last`, both included.
struct DaySpan {
    QDate first, last;
    int days() const { return int(first.daysTo(last)) + 1; }
    bool operator==(const DaySpan &o) const { return first == o.first && last == o.last; }
};
using Days = QVector<DaySpan>;

// Spans in any order, overlapping or not: the same days in date order,
// touching spans joined.
Days joined(Days spans);
int dayCount(const Days &days);
// The days of `days` (joined) that fall within `span`.
Days within(const Days &days, const DaySpan &span);

// The days beyond the limits in a volunteer's days of service (joined): in
// a run of consecutive days, those after the first `consecutive`; in a
// calendar year, those after the first `yearly`; both together. A run that
// crosses the end of a year stays one run; the count of the year starts
// again on 1 January.
Days daysBeyond(const Days &days, const Limits &limits);

// "31/12/2026, dal 02/01/2027 al 04/01/2027": one day alone, two or more as
// a range.
QString daysText(const Days &days);

} // namespace reports

Q_DECLARE_TYPEINFO(reports::DaySpan, Q_RELOCATABLE_TYPE);
