#pragma once

#include "archive/paths.h"

#include <QString>

// The operations that the kill tests interrupt: one deterministic sequence,
// so the test can replay in a folder of its own exactly what the helper
// program did before it was killed. Every step leaves the archives
// consistent (see inconsistency()); most span several archives.
namespace killops {

// Kinds of step, in the order of one cycle.
enum Kind {
    InsertAssociation, RegisterActivity, PickUnregistered, DiscardUnregistered, Snapshot, RegisterToRollBack, RollbackCopies,
    RegisterToUndo, RollbackRecords, CloseActivity, RegisterToCancel, CancelActivity,
    RenameAssociation, RemoveAssociation, KindCount
};
const char *kindName(int kind);
inline int kindOf(int step) { return step % KindCount; }

// Fills a working folder with the starting archives (a few hundred records
// each) and their snapshots.
void seed(const archive::WorkingFolder &folder);
// Runs step number `step` on the folder; false when it did not end well.
bool run(const archive::WorkingFolder &folder, int step);
// What breaks the rules every step keeps, empty when nothing does: every
// resource line belongs to an activity, every activity has exactly its
// lines, and every equipment quantity, vehicle state and association
// volunteer count equals its starting value less what open activities hold
// and what sospese.dat holds unregistered.
QString inconsistency(const archive::WorkingFolder &folder);
// The file holding how many steps the helper has completed.
QString stepFile(const archive::WorkingFolder &folder);

} // namespace killops
