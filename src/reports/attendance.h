#pragma once

#include "archive/paths.h"
#include "reports/archives.h"

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
    int cancelled = 0, undated = 0; // listed, not counted
};

struct Attendance {
    QString emergency;
    QDate today;
    // By association, then name (character code).
    QVector<VolunteerAttendance> volunteers;
    QVector<Activity> activities;
    Skipped skipped;
};

Attendance buildAttendance(const archive::WorkingFolder &folder, const QString &emergency,
                           const QDate &today);

// One block of lines per volunteer, ending with the place for the
// signature; the note of the skipped lines is a block of its own at the end.
QVector<QStringList> attendanceBlocks(const Attendance &a);

// One row per volunteer and activity.
QByteArray attendanceCsv(const Attendance &a);

} // namespace reports
