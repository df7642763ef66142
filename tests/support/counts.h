#pragma once

#include "archive/paths.h"

#include <QMap>
#include <QString>

// The counts the office relies on, from the archives alone: for every piece
// of equipment and every association, what is available plus what open
// activities hold (registered lines not released, and what an activity
// window took and has not registered) equals what the office owns; a
// vehicle is "A" exactly when one activity holds it; nothing is held of a
// record that is gone, nor by an activity that is not open; protocol
// numbers are unique.
namespace counts {

// Association and description, each on 50 columns: how resource lines name a record.
QString key(const QString &association, const QString &description = {});

struct Owned {
    QMap<QString, int> volunteers, pieces; // by key(association), key(association, description)
};
struct Held {
    QMap<QString, int> volunteers, pieces, vehicles;
};
Held held(const archive::WorkingFolder &folder);
// What the office owns by the archives as they stand: available plus held.
Owned standing(const archive::WorkingFolder &folder);

// Every broken promise, one a line; empty when every count is true.
QString broken(const archive::WorkingFolder &folder, const Owned &owned);

} // namespace counts
