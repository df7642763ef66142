#include "app/picking.h"

#include "app/context.h"
#include "app/windows.h"
#include "resources/flow.h"
#include "resources/formris.h"
#include "resources/operations.h"

// A record line chosen in a list opened for picking: the resource window
// offers it with the quantity the line shows (vehicles: always one).
void picking::offerResource(Context &ctx, Kind kind, const QString &line)
{
    if (line.trimmed().isEmpty()) return;
    if (!resources::receivingActivityOrTell(ctx)) return;
    Globals &g = ctx.g;
    g.rigarisorsa = line;
    QString qta;
    bool names = false;
    switch (kind) {
    case Kind::Equipment:
        // Like the other two lists: coming back to the activity window from
        // this pick must not reload it and lose what it holds.
        resources::enterPicking(g, modes::Activity::RT);
        g.tiporisorsa = resources::kEquipment;
        qta = line.mid(103, 6);
        break;
    case Kind::Vehicle:
        resources::enterPicking(g, modes::Activity::RU);
        g.tiporisorsa = resources::kVehicle;
        qta = QStringLiteral("1");
        break;
    case Kind::Association:
        resources::enterPicking(g, modes::Activity::RA);
        g.tiporisorsa = resources::kAssociation;
        qta = line.mid(51, 6);
        names = true;
        break;
    }
    ctx.windows->get<Formris>()->offer(line, qta, names);
}
