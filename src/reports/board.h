#pragma once

#include "archive/paths.h"
#include "reports/archives.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVector>

// The situation at a glance: what the associations still have, what is
// engaged, and where the activities stand. Read from the archives as they
// are now; nothing is written.
namespace reports {

// One bar pair of the board: what is engaged and what is still available.
struct Bar {
    QString label;
    qint64 engaged = 0;
    qint64 available = 0;
    bool operator==(const Bar &o) const
    {
        return label == o.label && engaged == o.engaged && available == o.available;
    }
};

// One count of the board.
struct Count {
    QString label;
    qint64 value = 0;
    bool operator==(const Count &o) const { return label == o.label && value == o.value; }
};

struct Board {
    QString emergency;
    QDate today;
    // Volunteers per association: engaged (the counted volunteers of the
    // resource lines still engaged) and available (the association's
    // count). Every association of the archive in file order, then the
    // names that only resource lines still engaged carry.
    QVector<Bar> associations;
    // Vehicles per state: free, engaged, then every other state in use.
    QVector<Count> vehicles;
    // Pieces per equipment description (all associations together): engaged
    // and available; the most engaged first.
    QVector<Bar> equipment;
    // Activities requested but not started, started but not closed, closed,
    // cancelled (and any other state, when there is one).
    QVector<Count> activities;
    Skipped skipped;
};

Board buildBoard(const archive::WorkingFolder &folder, const QString &emergency, const QDate &today);

// The `n` bars with the most engaged (ties in their order), then one bar
// "Altre N" that sums the others.
QVector<Bar> leading(const QVector<Bar> &bars, int n);

// The board for a spreadsheet: section, item, measure, value; the note of
// the skipped lines at the end.
QByteArray boardCsv(const Board &b);

// The heading of the board's window and page.
QString boardHeading(const Board &b);

} // namespace reports
