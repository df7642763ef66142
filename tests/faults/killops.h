#pragma once

#include "activities/records.h"
#include "archive/paths.h"

#include <QDateTime>
#include <QString>

// The operations the kill tests interrupt: one deterministic sequence, so the
// test can replay exactly what the helper did before it was killed.
namespace killops {

enum Kind {
    InsertAssociation,
    RegisterActivity,
    PickUnregistered,
    DiscardUnregistered,
    Snapshot,
    RegisterToRollBack,
    RollbackCopies,
    RegisterToUndo,
    RollbackRecords,
    CloseActivity,
    RegisterToCancel,
    CancelActivity,
    RenameAssociation,
    RemoveAssociation,
    KindCount
};
const char *kindName(int kind);
inline int kindOf(int step) { return step % KindCount; }

void seed(const archive::WorkingFolder &folder);
bool run(const archive::WorkingFolder &folder, int step);
// What breaks the rules every step keeps, empty when nothing does: each
// register count equals its start less what open activities and sospese.dat hold.
QString inconsistency(const archive::WorkingFolder &folder);
QString stepFile(const archive::WorkingFolder &folder);
// The time of every diary line of the steps.
inline QDateTime diaryTime() { return QDateTime(QDate(2025, 3, 3), QTime(9, 5)); }
// What a closing or a cancellation does with each resource line: gives it back to its register.
activities::GiveBack giveBackTo(const archive::WorkingFolder &folder);

} // namespace killops
