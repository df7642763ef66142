#pragma once

#include "activities/records.h"
#include "printing/printout.h"

#include <QString>
#include <QStringList>

// The accompanying sheet of one activity, printed from what the activity
// window shows (registered or not).
namespace sheet {

// The fields as they stand in the window, and its resource lines.
struct Fields : activities::ActivityInput {
    QStringList resources; // the resource list lines, first to last
};

// The printed lines: the heading, the times, place, requester, kind, the
// notes on one line (up to 50 characters) or two (characters 1-50 and
// 51-100; the rest is not printed), then one line per resource.
QStringList lines(const Fields &f);

// Courier New 10 points, portrait.
printing::Printout printout(const Fields &f);

} // namespace sheet
