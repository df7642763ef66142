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
        auto *w = ctx.windows->get<Formattrlist>();
        w->prepare(modes::PairList::GA, QStringLiteral("Attrezzature - Elenco generale"), QString());
        present(w);
        break;
    }
    case ResourceKind::Vehicle: {
        auto *w = ctx.windows->get<Formautolist>();
        w->prepare(modes::PairList::GA, QStringLiteral("Automezzi - Elenco generale"), QString());
        present(w);
        break;
    }
    case ResourceKind::Association: {
        auto *w = ctx.windows->get<Formlist>();
        w->prepare(modes::AssociationList::RA);
        present(w);
        break;
    }
    }
}
