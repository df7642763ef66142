#pragma once

#include "archive/paths.h"
#include "archive/record.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

// What the reports read from the archives, read once per report and never
// written. Lines that cannot be read as their record are skipped and
// counted, so that a report can say how many it left out.
namespace reports {

// A date "DD/MM/YYYY" of the calendar; nothing for anything else.
std::optional<QDate> readDate(const QString &text);

// One activity as the reports show it. Dates that cannot be read stand
// empty; `days` counts every calendar day from the start to the end (or to
// today while the activity is open).
struct Activity {
    qint16 number = 0;
    QString datari, orari, datain, orain, datafi, orafi, tipo, loc, stato;
    bool inArchive = true; // false: only resource lines carry this number
    bool cancelled = false;
    bool undated = false;  // started or closed, but its days cannot be told
    QDate first, last;     // the days counted (valid when days > 0)
    int days = 0;

    // The state word of the printed lists, or the letter itself.
    QString stateWord() const;
};

// Builds the activity of a record (fields as read) as of `today`.
Activity activityOf(qint16 number, const QStringList &fields, const QDate &today);

// One resource line.
struct Resource {
    qint16 number = 0;   // the activity
    QString tipo;        // "ATTR", "AUTO", "VOL.", "VOL>"
    int quantity = 0;
    QString association; // as stored, blanks at the ends dropped
    QString description; // for "VOL>" lines, the volunteer's name
    bool engaged = false; // state "O"
};

// Lines skipped because they could not be read, per archive file name.
struct Skipped {
    QVector<QPair<QString, int>> files;
    void add(const QString &fileName, int count);
    int total() const;
    // "Righe illeggibili non considerate: attivita.csv 1, risorse.csv 2."
    // (empty when none was skipped).
    QString note() const;
};

// Reads every record of `path` (a missing file reads as empty). Lines that
// cannot be read as the record, and records `each` turns down (false), are
// counted in `skipped`; empty lines are no record and are passed over.
void readEach(const QString &path, const archive::RecordFormat &format, Skipped &skipped,
              const std::function<bool(const archive::Record &)> &each);

// The key that identifies an association wherever it is named: its name
// padded or cut to 50 columns.
QString associationKey(const QString &name);

struct Archives {
    QVector<Activity> activities;   // in file order
    QHash<qint16, int> byNumber;    // first activity of each number
    QVector<Resource> resources;    // in file order
    Skipped skipped;

    // The activity numbered `n`; one standing for a number that only
    // resource lines carry (dates empty, counted apart) when there is none.
    Activity activity(qint16 n) const;
};

// Reads attivita.csv and risorse.csv as of `today`.
Archives readActivities(const archive::WorkingFolder &folder, const QDate &today);

// Association names as stored, in file order, with their available
// volunteers; skipped lines are added to `skipped`.
struct AssociationCount {
    QString name;
    int available = 0;
};
QVector<AssociationCount> readAssociations(const archive::WorkingFolder &folder, Skipped &skipped);

// A date as shown: the date when it can be read, empty otherwise.
QString dateColumn(const QString &text);

// Columns shared by the printed reports: start date and time, end date and
// time (33 columns); the state word in 10; place and type.
QString whenColumns(const Activity &a);
QString whenHeading();
QString stateColumn(const Activity &a);
QString whereText(const Activity &a);
// The rule that closes a block.
QString rule();

} // namespace reports
