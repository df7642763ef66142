#pragma once

#include "archive/outcome.h"
#include "archive/paths.h"
#include "resources/lines.h"
#include "session/resourcekind.h"

#include <QString>
#include <QStringList>
#include <optional>

// Resources of an activity: the lines the activity window lists for them,
// and what engaging and giving them back does to the equipment, vehicle and
// association archives.
namespace resources {

// The volunteers of `association50` (padded or cut to 50) in volontari.csv,
// each as "first part" + " " + "second part", in file order.
QStringList volunteerNames(const QString &volontariPath, const QString &association50);

using archive::Outcome;

// Whether a resource operation ended without anything to tell: done, or no
// record matched (it was renamed or deleted meanwhile), which changed nothing
// and is no failure.
inline bool ok(const Outcome &o) { return o.done() || o.status == Outcome::NotFound; }

// Engages the resource of the picked line `rigarisorsa` from the list of
// `kind`: equipment quantity down by q (state "A" at 0), vehicle
// state "A", association volunteers down by q. A record that no longer
// matches changes nothing and is no failure.
Outcome engage(const archive::WorkingFolder &folder, ResourceKind kind, const QString &rigarisorsa,
               qint16 q);

// Whether a resource of this type goes back to a register when its line is
// deleted ("ATTR", "AUTO", "VOL.", "VOL>"; any other type is left alone).
bool knownType(const QString &tipo);
// Whether a resource of this type is held by a register ("ATTR", "AUTO",
// "VOL."): engaging takes it, giving back returns it.
bool holdsRegister(const QString &tipo);

// Gives back the resource of a 114-column resource line: equipment quantity
// up by columns 7-12 (state "A" at 0, "L" otherwise), vehicle state "L",
// association volunteers up. "VOL>" and unknown types give nothing back. A
// quantity that is no number is refused: nothing goes back.
Outcome giveBackLine(const archive::WorkingFolder &folder, const QString &line);

// The same for a record of risorse.csv of activity `numprot` (at release);
// a refusal names the line, which stays engaged.
Outcome giveBackRecord(const archive::WorkingFolder &folder, const Resource &resource,
                       const QString &numprot);

// Takes again what giveBackLine gave back for the same line: equipment
// quantity down (state "A" at 0), vehicle state "A", association volunteers
// down. Undoes the deletion of a line not yet registered.
Outcome retakeLine(const archive::WorkingFolder &folder, const QString &line);

// How a resource line names its record in a message: "attrezzatura TENDA
// dell'associazione ALFA" and the like.
QString describeLine(const QString &line);

} // namespace resources
