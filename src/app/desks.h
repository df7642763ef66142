#pragma once

#include "session/context.h"

// Every copy of the program on a working folder is a desk, and any number of
// desks write in it at once (archive/changelock.h). A desk may still choose
// to consult only; a folder that cannot be written is only consulted.
namespace desks {

// At start: asks whether to consult only when other desks write in the
// folder, and opens for consultation a folder that takes no new file; then
// finishes or discards a change another desk left half made, and gives
// back what stopped desks left unregistered (a message for the operator,
// empty when there is nothing to say).
QString start(Context &ctx);

// The desk ends normally.
void end(Context &ctx);

// "PC-SALA (utente rossi)": this desk, for the main window's title when
// several desks write in the folder (empty otherwise).
QString shownName(const Context &ctx);

} // namespace desks
