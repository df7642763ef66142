#include "reports/limits.h"

#include <QStringList>
#include <algorithm>

namespace reports {

Limits legalLimits(bool national) { return national ? Limits{60, 180} : Limits{30, 90}; }

QString limitsText(const Limits &limits)
{
    return QStringLiteral("%1 giorni consecutivi, %2 nell'anno").arg(limits.consecutive).arg(limits.yearly);
}

Days joined(Days spans)
{
    std::sort(spans.begin(), spans.end(),
              [](const DaySpan &x, const DaySpan &y) { return x.first < y.first; });
    Days out;
    for (const DaySpan &s : spans) {
        if (!out.isEmpty() && out.last().last.addDays(1) >= s.first)
            out.last().last = std::max(out.last().last, s.last);
        else out << s;
    }
    return out;
}

int dayCount(const Days &days)
{
    int n = 0;
    for (const DaySpan &s : days) n += s.days();
    return n;
}

Days within(const Days &days, const DaySpan &span)
{
    Days out;
    for (const DaySpan &s : days) {
        const DaySpan common{std::max(s.first, span.first), std::min(s.last, span.last)};
        if (common.first <= common.last) out << common;
    }
    return out;
}

Days daysBeyond(const Days &days, const Limits &limits)
{
    Days beyond;
    // Runs: the spans are joined, so each is one run of consecutive days.
    for (const DaySpan &run : days)
        if (run.days() > limits.consecutive)
            beyond << DaySpan{run.first.addDays(limits.consecutive), run.last};
    // Years: the days of each year counted in date order.
    int year = 0, served = 0;
    for (const DaySpan &s : days) {
        for (QDate from = s.first; from <= s.last;) {
            const QDate endOfYear(from.year(), 12, 31);
            const QDate to = std::min(s.last, endOfYear);
            if (from.year() != year) {
                year = from.year();
                served = 0;
            }
            const int n = int(from.daysTo(to)) + 1;
            // Days of this piece past the yearly limit.
            const int allowed = std::max(0, limits.yearly - served);
            if (n > allowed) beyond << DaySpan{from.addDays(allowed), to};
            served += n;
            from = to.addDays(1);
        }
    }
    return joined(beyond);
}

QString daysText(const Days &days)
{
    const QString format = QStringLiteral("dd/MM/yyyy");
    QStringList parts;
    for (const DaySpan &s : days)
        parts << (s.first == s.last ? s.first.toString(format)
                                    : QStringLiteral("dal %1 al %2")
                                          .arg(s.first.toString(format), s.last.toString(format)));
    return parts.join(QStringLiteral(", "));
}

} // namespace reports
