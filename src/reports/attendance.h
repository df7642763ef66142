#pragma once

#include "archive/paths.h"
#include "reports/archives.h"
#include "reports/limits.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

// The days of service of each named volunteer (the name lines of the
// resource archive), one block per volunteer to be signed. Read from the
// archives; nothing is written.
namespace reports {

struct VolunteerAttendance {
    QString name;
    QString association;     // as the name line carries it
    QVector<int> activities; // in Attendance::activities, by protocol number, each once
    // Calendar days of service: every day covered by an activity counted
    // (not cancelled, dates readable), a day covered by two activities once.
    int days = 0;
    Days served;                    // those days, joined
    Days beyond;                    // those of them past the legal limits
    int cancelled = 0, undated = 0; // listed, not counted
};

struct Attendance {
    QString emergency;
    QDate today;
    Limits limits;
    // By association, then name (character code).
    QVector<VolunteerAttendance> volunteers;
    QVector<Activity> activities;
    Skipped skipped;
};

Attendance buildAttendance(const archive::WorkingFolder &folder, const QString &emergency,
                           const QDate &today, const Limits &limits = legalLimits(false));

// One block of lines per volunteer, ending with the place for the
// signature; the note of the skipped lines is a block of its own at the end.
QVector<QStringList> attendanceBlocks(const Attendance &a);

// One row per volunteer and activity.
QByteArray attendanceCsv(const Attendance &a);

// The certificates of participation of volunteer `volunteer`, one page
// each: one per activity whose days of service can be told (not cancelled,
// dates readable), in protocol order. Days past the legal limits are named
// and left out of the days certified.
QVector<QStringList> certificates(const Attendance &a, int volunteer);

} // namespace reports
