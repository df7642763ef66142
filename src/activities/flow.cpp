#include "activities/flow.h"

#include "activities/formattivita.h"
#include "ui/windows.h"

namespace resources {

namespace {

bool pickingMode(const QString &m)
{
    return m == QLatin1String("RT") || m == QLatin1String("RU") || m == QLatin1String("RA");
}

} // namespace

QString activityMode(const Globals &g) { return pickingMode(g.modoatt) ? g.modoattprec : g.modoatt; }

Formattivita *receivingActivity(Context &ctx)
{
    Formattivita *w = ctx.windows->existing<Formattivita>();
    if (!w || !w->isVisible()) return nullptr;
    const QString mode = activityMode(ctx.g);
    if (mode != QLatin1String("I") && mode != QLatin1String("M")) return nullptr;
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

void enterPicking(Globals &g, const QString &mode)
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
        ctx.g.modoattrlist = QStringLiteral("GA");
        enterPicking(ctx.g, QStringLiteral("RT"));
        break;
    case ResourceKind::Vehicle:
        ctx.g.modoautolist = QStringLiteral("GA");
        enterPicking(ctx.g, QStringLiteral("RU"));
        break;
    case ResourceKind::Association:
        ctx.g.modoasslist = QStringLiteral("RA");
        enterPicking(ctx.g, QStringLiteral("RA"));
        break;
    }
    picking::openPickList(ctx, kind);
}

} // namespace resources
