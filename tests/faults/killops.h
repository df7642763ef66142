#pragma once

#include "archive/paths.h"

#include <QByteArray>
#include <QString>

// The register operations that the kill tests interrupt: one deterministic
// sequence, so the test can replay in a folder of its own exactly what the
// helper program did before it was killed.
namespace killops {

// Kinds of step, in the order of one cycle.
enum Kind {
    InsertAssociation, InsertVehicle, InsertEquipment, InsertActivity, Snapshot, Engage,
    Rollback, RenameAssociation, Restore, ReleaseResources, RemoveAssociation, CancelActivity,
    KindCount
};
const char *kindName(int kind);
inline int kindOf(int step) { return step % KindCount; }

// Fills a working folder with the starting archives (a few hundred records
// each) and the backup file used by the restore steps.
void seed(const archive::WorkingFolder &folder);

// Runs step number `step` on the folder. False when the operation did not
// end well (which the sequence never expects).
bool run(const archive::WorkingFolder &folder, int step);

// The file holding how many steps the helper has completed, written whole
// after each step.
QString stepFile(const archive::WorkingFolder &folder);
QString backupFile(const archive::WorkingFolder &folder);

} // namespace killops
