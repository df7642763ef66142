#pragma once

#include "session/context.h"
#include "archive/io.h"

#include <initializer_list>

// Snapshot and rollback of the archives around the activity window.
namespace snapshot {

// copiainsav: the archive file into its snapshot file. A missing archive
// leaves the snapshot as it is.
archive::IoResult copiainsav(const archive::WorkingFolder &folder, archive::Register r);

// copiadasav: the snapshot file back into the archive file. A missing
// snapshot leaves the archive as it is.
archive::IoResult copiadasav(const archive::WorkingFolder &folder, archive::Register r);

// Several snapshots in the given order, under the busy pointer. A copy that
// fails to write is reported to the user by name (a missing archive is no
// failure); the others still run. Returns false when one failed.
bool take(Context &ctx, std::initializer_list<archive::Register> registers);

// The snapshot the main window takes before it opens the activity window or
// the activity list: associations, equipment, vehicles.
bool takeRegisters(Context &ctx);

} // namespace snapshot
