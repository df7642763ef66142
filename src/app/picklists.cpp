#include "registers/picking.h"

#include "session/context.h"
#include "ui/windows.h"
#include "associations/formlist.h"
#include "equipment/formattrlist.h"
#include "vehicles/formautolist.h"

#include "ui/linelist.h"

// The register lists in their picking modes. Their activation fills them
// with every record; the activity window has stored its own modes already.
void picking::openPickList(Context &ctx, ResourceKind kind)
{
    switch (kind) {
    case ResourceKind::Equipment: {
        ctx.g.modoattrlist = QStringLiteral("GA");
        auto *w = ctx.windows->get<Formattrlist>();
        w->prepare(QStringLiteral("Attrezzature - Elenco generale"), QString());
        present(w);
        break;
    }
    case ResourceKind::Vehicle: {
        ctx.g.modoautolist = QStringLiteral("GA");
        auto *w = ctx.windows->get<Formautolist>();
        w->prepare(QStringLiteral("Automezzi - Elenco generale"), QString());
        present(w);
        break;
    }
    case ResourceKind::Association: {
        ctx.g.modoasslist = QStringLiteral("RA");
        auto *w = ctx.windows->get<Formlist>();
        w->list()->setToolTip(
            QStringLiteral("Cliccare l'associazione per scegliere il numero di volontari."));
        present(w);
        break;
    }
    }
}
