#pragma once

#include "archive/paths.h"
#include "archive/record.h"

#include <QString>
#include <QStringList>
#include <optional>

// Resources of an activity: the lines the activity window lists for them,
// and what engaging and giving them back does to the equipment, vehicle and
// association archives.
namespace resources {

// Where the picked list line comes from (`tiporisorsa`).
const QString kEquipment = QStringLiteral("AT");
const QString kVehicle = QStringLiteral("AU");
const QString kAssociation = QStringLiteral("AS");

// The quantity typed in the resource window: a number, rounded to a whole
// one, that fits the five columns of the resource line (-9999 to 32767).
// Nothing for anything else.
std::optional<qint16> quantity(const QString &typed);
QString quantityRefusal();

// The quantity right-aligned in five columns ("####0").
QString quantityColumn(qint16 q);

// The resource lines made from a picked list line (they may run past
// column 114; only the first 114 columns are stored).
QString equipmentLine(const QString &listLine, qint16 q);
QString vehicleLine(const QString &listLine);
QString volunteersLine(const QString &listLine, qint16 q);
// One named volunteer of the association in columns 1-50 of `listLine`.
QString namedVolunteerLine(const QString &listLine, const QString &name);

// The volunteers of `association50` (padded or cut to 50) in volontari.csv,
// each as "first part" + " " + "second part", in file order.
QStringList volunteerNames(const QString &volontariPath, const QString &association50);

// What an archive change ended with: nothing to say, or the message that
// tells why nothing changed.
struct Outcome {
    bool ok = true;
    QString message;
    bool notFound = false; // no record matched: nothing changed, and that is no failure
    static Outcome refused(const QString &m) { return {false, m, false}; }
};

// Engages the resource of the picked line `rigarisorsa` from the list
// `tiporisorsa`: equipment quantity down by q (state "A" at 0), vehicle
// state "A", association volunteers down by q. A record that no longer
// matches changes nothing and is no failure.
Outcome engage(const archive::WorkingFolder &folder, const QString &tiporisorsa,
               const QString &rigarisorsa, qint16 q);

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

// The same for a record of risorse.csv (at release); a refusal names the
// line, which stays engaged.
Outcome giveBackRecord(const archive::WorkingFolder &folder, const archive::Record &resource);

// Takes again what giveBackLine gave back for the same line: equipment
// quantity down (state "A" at 0), vehicle state "A", association volunteers
// down. Undoes the deletion of a line not yet registered.
Outcome retakeLine(const archive::WorkingFolder &folder, const QString &line);

// How a resource line names its record in a message: "attrezzatura TENDA
// dell'associazione ALFA" and the like.
QString describeLine(const QString &line);

} // namespace resources
