#pragma once

#include "archive/paths.h"
#include "reports/archives.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

// What each association gave: every activity it took part in with its
// volunteers, named volunteers, vehicles and equipment, and the totals.
// Read from the archives; nothing is written.
namespace reports {

// What one association gave one activity: its resource lines for it.
struct Given {
    int activity = 0;     // in Engagement::activities
    int from = 0, to = 0; // its lines: Engagement::resources[order[from]] up to order[to - 1]
    // The counted volunteers, or the named ones when they are more (a named
    // volunteer is one of the volunteers).
    qint64 volunteers = 0;
    int vehicles = 0;
    qint64 pieces = 0;
    int shown = 0; // its lines that the report shows (equipment, vehicles, names)
};

// One association's part. Cancelled activities are listed and left out of
// the totals; activities whose days cannot be told count in every total
// but the volunteer-days, and are counted apart.
struct AssociationEngagement {
    QString name;
    bool inArchive = true; // false: a name that only resource lines carry
    int from = 0, to = 0;  // its activities, Engagement::given[from, to), by protocol number
    int activityCount = 0, vehicles = 0;
    qint64 volunteers = 0, volunteerDays = 0, pieces = 0;
    int cancelled = 0, undated = 0;
};

struct Engagement {
    QString emergency;
    QDate today;
    // Every association of the archive in file order (also one that took
    // part in nothing), then the names that only resource lines carry (a
    // renamed or deleted association), by character code.
    QVector<AssociationEngagement> associations;
    QVector<Given> given;
    QVector<Activity> activities;
    QVector<Resource> resources; // in file order
    QVector<int> order;          // the lines by association, then activity, then file order
    Skipped skipped;

    const Activity &activityOf(const Given &g) const { return activities.at(g.activity); }
    const Resource &line(int i) const { return resources.at(order.at(i)); }
    // Volunteers times days; 0 for a cancelled activity or one without days.
    qint64 volunteerDays(const Given &g) const;
};

Engagement buildEngagement(const archive::WorkingFolder &folder, const QString &emergency,
                           const QDate &today);

// The report's lines for one association (`index`) or, with -1, for all,
// each built when it is asked for: the report of every association of a
// large office runs to hundreds of thousands of lines.
class EngagementLines {
public:
    EngagementLines() = default;
    EngagementLines(const Engagement &e, int index);
    int count() const { return m_count; }
    QString line(int row) const;
    QStringList all() const;

private:
    const Engagement *m_e = nullptr;
    QVector<int> m_shown; // the associations shown
    QVector<int> m_first; // the first row of each one's block
    QVector<int> m_rows;  // per activity of Engagement::given: its first row (-1 when not shown)
    int m_count = 0;
};

QStringList engagementLines(const Engagement &e, int index = -1);

// The same for a spreadsheet: one row per association and activity.
QByteArray engagementCsv(const Engagement &e, int index = -1);

} // namespace reports
