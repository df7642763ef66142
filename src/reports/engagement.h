#pragma once

#include "archive/paths.h"
#include "reports/archives.h"

#include <QByteArray>
#include <QDate>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

// What each association gave: every activity it took part in with its
// volunteers, named volunteers, vehicles and equipment, and the totals.
// Read from the archives; nothing is written.
namespace reports {

// What one association gave one activity (its resource lines for it).
struct Given {
    Activity activity;
    int volunteers = 0;  // the counted volunteers, or the named ones when more
    QStringList named;   // named volunteers, in file order
    QStringList vehicles;
    QVector<QPair<QString, int>> equipment; // description, pieces
    int pieces() const;
    bool counted() const { return !activity.cancelled; }
    // Volunteers times days; 0 for an activity not counted or without days.
    int volunteerDays() const { return counted() ? volunteers * activity.days : 0; }
};

// One association's part. Cancelled activities are listed and left out of
// the totals; activities whose days cannot be told count in every total
// but the volunteer-days, and are counted apart.
struct AssociationEngagement {
    QString name;
    bool inArchive = true; // false: a name that only resource lines carry
    QVector<Given> activities; // by protocol number
    int activityCount = 0, volunteers = 0, volunteerDays = 0, vehicles = 0, pieces = 0;
    int cancelled = 0, undated = 0;
};

struct Engagement {
    QString emergency;
    QDate today;
    // Every association of the archive in file order (also one that took
    // part in nothing), then the names that only resource lines carry (a
    // renamed or deleted association), by character code.
    QVector<AssociationEngagement> associations;
    Skipped skipped;
};

Engagement buildEngagement(const archive::WorkingFolder &folder, const QString &emergency,
                           const QDate &today);

// The report's lines for one association (`index`) or, with -1, for all.
QStringList engagementLines(const Engagement &e, int index = -1);

// The same for a spreadsheet: one row per association and activity.
QByteArray engagementCsv(const Engagement &e, int index = -1);

} // namespace reports
