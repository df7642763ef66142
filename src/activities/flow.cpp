#include "activities/flow.h"

#include "activities/formattivita.h"
#include "ui/windows.h"

namespace resources {

namespace {

bool pickingMode(modes::Activity m)
{
    return m == modes::Activity::RT || m == modes::Activity::RU || m == modes::Activity::RA;
}

} // namespace

modes::Activity activityMode(const Globals &g) { return pickingMode(g.modoatt) ? g.modoattprec : g.modoatt; }

Formattivita *receivingActivity(Context &ctx)
{
    Formattivita *w = ctx.windows->existing<Formattivita>();
    if (!w || !w->isVisible()) return nullptr;
    const modes::Activity mode = activityMode(ctx.g);
    if (mode != modes::Activity::I && mode != modes::Activity::M) return nullptr;
    return w;
}

Formattivita *receivingActivityOrTell(Context &ctx)
{
    Formattivita *w = receivingActivity(ctx);
    if (!w)
        ctx.platform.prompts->info(QStringLiteral(
            "Nessuna attività aperta a cui aggiungere la risorsa: aprire l'attività e premere di "
            "nuovo \"Attrezzature\", \"Automezzi\" o \"Volontari\"."));
    return w;
}

void enterPicking(Globals &g, modes::Activity mode)
{
    // A second pick before coming back to the activity window keeps the
    // mode to return to.
    if (!pickingMode(g.modoatt)) g.modoattprec = g.modoatt;
    g.modoatt = mode;
}

void startPicking(Context &ctx, ResourceKind kind)
{
    if (!receivingActivity(ctx)) return;
    switch (kind) {
    case ResourceKind::Equipment:
        ctx.g.modoattrlist = modes::PairList::GA;
        enterPicking(ctx.g, modes::Activity::RT);
        break;
    case ResourceKind::Vehicle:
        ctx.g.modoautolist = modes::PairList::GA;
        enterPicking(ctx.g, modes::Activity::RU);
        break;
    case ResourceKind::Association:
        ctx.g.modoasslist = modes::AssociationList::RA;
        enterPicking(ctx.g, modes::Activity::RA);
        break;
    }
    picking::openPickList(ctx, kind);
}

} // namespace resources
