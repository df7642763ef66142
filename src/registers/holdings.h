#pragma once

#include "archive/io.h"
#include "archive/outcome.h"
#include "archive/paths.h"
#include "archive/record.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the activities hold of the three registers: the engaged lines of
// risorse.csv (every state but "L") and what the activity window took and
// has not registered yet (sospese.dat). The registers ask here before a
// change that would leave a held resource without its record, and carry a
// new association name into it, so that what is held always goes back to
// the record it was taken from.
namespace registers {

// risorse.csv: the protocol number, then type, quantity, association,
// description (50 columns each) and state.
const archive::RecordFormat &resourceFormat();
enum ResourceField { RNumProt, RTipo, RNumero, RAssociazione, RDescrizione, RStato };

// The types of resource line that hold a register: equipment, a vehicle,
// volunteers of an association.
inline const QString kHeldEquipment = QStringLiteral("ATTR");
inline const QString kHeldVehicle = QStringLiteral("AUTO");
inline const QString kHeldVolunteers = QStringLiteral("VOL.");

// The file of what the desk's activity window holds unregistered (each
// desk has its own, see archive::WorkingFolder::deskFile): one change a
// line, "P" (taken) or "R" (given back), a comma, the 114-column resource
// line.
QString unregisteredPath(const archive::WorkingFolder &folder);

// One change of a desk file: the resource line, taken ("P") or given back
// ("R").
struct UnregisteredChange {
    QString line;
    bool givenBack = false;
};
// The changes in file order; lines this program did not write are passed
// over. A missing file holds none.
QList<UnregisteredChange> readUnregistered(const archive::WorkingFolder &folder);
QList<UnregisteredChange> readUnregisteredFile(const QString &path);
// Replaces the desk's file with `changes` (not written when it holds
// nothing and nothing is to be kept). Refused when the desk file that this
// desk made at its start is gone: another desk took this one for stopped
// and gave back what it held.
archive::IoResult writeUnregistered(const archive::WorkingFolder &folder,
                                    const QList<UnregisteredChange> &changes);
archive::IoResult writeUnregisteredFile(const QString &path,
                                        const QList<UnregisteredChange> &changes);

// The desk made its file at its start (desks::start).
void deskFileMade(const QString &path);
// The desk's file made at its start is gone: what it held was given back
// by another desk.
bool deskFileTaken(const archive::WorkingFolder &folder);
QString deskFileTakenMessage();

struct Holders {
    QList<qint16> activities;  // registered activities holding it, ascending
    bool unregistered = false; // taken in the activity window, not registered yet
    QStringList desks;         // the other desks whose activity window took it

    bool any() const { return !activities.isEmpty() || unregistered || !desks.isEmpty(); }
    // Where it is held, for a message: "nell'attività numero 5", "nelle
    // attività numero 5, 7", "nella finestra Attività (non ancora
    // registrata)".
    QString where() const;
};

// Who holds a resource of one of `types` whose association (and, when
// `description` is given, description) matches on 50 columns.
// The other desks whose activity window gave back the vehicle of
// `association` and `description` and has not registered it yet: undone,
// that give-back takes the vehicle again for the activity it came from.
QStringList vehicleGivenBackElsewhere(const archive::WorkingFolder &folder,
                                      const QString &association, const QString &description);

Holders holdersOf(const archive::WorkingFolder &folder, const QStringList &types,
                  const QString &association, const QString &description = {});

// An association renamed: every resource line and every unregistered change
// that names `from` names `to`. Inside the caller's transaction.
archive::Outcome carryAssociation(const archive::WorkingFolder &folder, const QString &from,
                                  const QString &to);

// The association column of a 114-column resource line replaced by `to`
// when it holds `from` (the line unchanged otherwise).
QString renamedLine(const QString &line, const QString &from, const QString &to);

} // namespace registers
