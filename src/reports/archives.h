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
    bool undated = false; // started or closed, but its days cannot be told
    QDate first, last;    // the days counted (valid when days > 0)
    int days = 0;

    QString word; // the state word of the printed lists, or the letter itself
    const QString &stateWord() const { return word; }
};

// Builds the activity of a record (fields as read) as of `today`.
Activity activityOf(qint16 number, const QStringList &fields, const QDate &today);

// One resource line.
struct Resource {
    // "ATTR", "AUTO", "VOL.", "VOL>", any other type.
    enum Kind : char { Equipment, Vehicle, Volunteers, Named, Other };
    qint16 number = 0; // the activity
    Kind kind = Other;
    int quantity = 0;
    QString association;  // as stored, blanks at the ends dropped
    QString description;  // for "VOL>" lines, the volunteer's name
    bool engaged = false; // state "O"
};

} // namespace reports

Q_DECLARE_TYPEINFO(reports::Activity, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(reports::Resource, Q_RELOCATABLE_TYPE);

namespace reports {

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

// The key that identifies an association or a description wherever it is
// named: padded or cut to 50 columns, as a resource line holds it.
QString nameKey(const QString &name);

// Places in these vectors are ints: every line read is held in memory, and
// 2^31 of them would not fit.
struct Archives {
    QVector<Activity> activities; // in file order
    QHash<qint16, int> byNumber;  // first activity of each number
    QVector<Resource> resources;  // in file order
    Skipped skipped;

    // The place of the activity numbered `n`; for a number that only
    // resource lines carry, an activity standing for it (dates empty,
    // counted apart) is added first.
    int indexOf(qint16 n);
};

// Reads attivita.csv and risorse.csv as of `today`, keeping the resource
// lines of the kinds in `kinds` (bits 1 << Resource::Kind).
constexpr unsigned kAllKinds = 0x1f;
constexpr unsigned kindBit(Resource::Kind k) { return 1u << k; }
Archives readActivities(const archive::WorkingFolder &folder, const QDate &today,
                        unsigned kinds = kAllKinds);

// Association names as stored, in file order, with their available
// volunteers; skipped lines are added to `skipped`.
struct AssociationCount {
    QString name;
    int available = 0;
};
QVector<AssociationCount> readAssociations(const archive::WorkingFolder &folder, Skipped &skipped);

// A date as shown: the date when it can be read, empty otherwise.
QString dateColumn(const QString &text);

// A report line built column by column.
class Columns {
public:
    explicit Columns(qsizetype reserve = 128) { m_s.reserve(reserve); }
    Columns &text(const QString &t)
    {
        m_s += t;
        return *this;
    }
    Columns &text(QLatin1String t)
    {
        m_s += t;
        return *this;
    }
    Columns &blank()
    {
        m_s += QLatin1Char(' ');
        return *this;
    }
    // `t` padded with blanks or cut to `width`.
    Columns &fit(const QString &t, int width);
    // `t` right-aligned in `width` (never cut).
    Columns &right(const QString &t, int width);
    Columns &number(int n, int width) { return right(QString::number(n), width); }
    // Start date and time, end date and time (33 columns).
    Columns &when(const Activity &a);
    // Place and type.
    Columns &where(const Activity &a);
    QString take() { return std::move(m_s); }

private:
    QString m_s;
};

// The heading of the `when` columns.
QString whenHeading();
// The heading of a report: the emergency name (when there is one), the
// report's title and the day.
QString reportHeading(const QString &emergency, const QString &title, const QDate &today);

// The rule that closes a block.
QString rule();

} // namespace reports
