#pragma once

// How the activity window and the register lists meet while the user picks
// a resource for an activity.
//
//   activity window button  ->  openPickList(ctx, kind)     (register lists)
//   click on a record line  ->  offerResource(ctx, kind, line)  (resources)
//
// The list windows call offerResource only for lines that stand for a
// record: heading, blank and total lines are never offered.

#include "session/resourcekind.h"

#include <QString>

struct Context;

namespace picking {

// Shows the register list of the kind in its picking mode (GA for
// equipment and vehicles, RA for associations), with the title, tooltip
// and search controls that mode has, filled with all records.
void openPickList(Context &ctx, ResourceKind kind);

// A record line chosen in a picking list: hands it to the resource window.
void offerResource(Context &ctx, ResourceKind kind, const QString &line);

} // namespace picking
