#pragma once

#include "session/context.h"
#include "registers/picking.h"

class Formattivita;

// How the activity window, the register lists and the resource windows
// take turns while the user picks a resource.
namespace resources {

// The activity window's own mode while a list is open for picking (RT, RU,
// RA stand for the mode they will return to).
modes::Activity activityMode(const Globals &g);

// The activity window when it is open on an activity that takes resources
// (insert or modify); nullptr otherwise: a resource picked then has nowhere
// to go.
Formattivita *receivingActivity(Context &ctx);
// The same, telling the user when there is none.
Formattivita *receivingActivityOrTell(Context &ctx);

// The activity window passes to picking mode `mode` (RT, RU, RA), keeping
// the mode it will return to (already kept when it was picking).
void enterPicking(Globals &g, modes::Activity mode);

// The activity window's "Attrezzature", "Automezzi" and "Volontari": the
// list of the kind opens in its picking mode. Nothing in cancellation mode.
void startPicking(Context &ctx, ResourceKind kind);

} // namespace resources
