#include "registers/picking.h"

#include "session/context.h"
#include "ui/windows.h"
#include "activities/flow.h"
#include "activities/formris.h"
#include "registers/listlines.h"

// A record line chosen in a list opened for picking: the resource window
// offers it with the quantity the line shows (vehicles: always one).
void picking::offerResource(Context &ctx, ResourceKind kind, const QString &line)
{
    if (line.trimmed().isEmpty()) return;
    if (!resources::receivingActivityOrTell(ctx)) return;
    Globals &g = ctx.g;
    g.rigarisorsa = line;
    bool names = false;
    switch (kind) {
    case ResourceKind::Equipment:
        // Like the other two lists: coming back to the activity window from
        // this pick must not reload it and lose what it holds.
        resources::enterPicking(g, modes::Activity::RT);
        break;
    case ResourceKind::Vehicle:
        resources::enterPicking(g, modes::Activity::RU);
        break;
    case ResourceKind::Association:
        resources::enterPicking(g, modes::Activity::RA);
        names = true;
        break;
    }
    g.tiporisorsa = kind;
    ctx.windows->get<Formris>()->offer(line, registers::listQuantity(kind, line), names);
}
