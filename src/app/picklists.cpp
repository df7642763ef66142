#include "app/picking.h"

#include "app/context.h"
#include "app/windows.h"
#include "associations/formlist.h"
#include "equipment/formattrlist.h"
#include "vehicles/formautolist.h"

#include "app/linelist.h"

// The register lists in their picking modes. Their activation fills them
// with every record; the activity window has stored its own modes already.
void picking::openPickList(Context &ctx, Kind kind)
{
    switch (kind) {
    case Kind::Equipment: {
        auto *w = ctx.windows->get<Formattrlist>();
        w->prepare(modes::PairList::GA, QStringLiteral("Attrezzature - Elenco generale"), QString());
        present(w);
        break;
    }
    case Kind::Vehicle: {
        auto *w = ctx.windows->get<Formautolist>();
        w->prepare(modes::PairList::GA, QStringLiteral("Automezzi - Elenco generale"), QString());
        present(w);
        break;
    }
    case Kind::Association: {
        auto *w = ctx.windows->get<Formlist>();
        w->prepare(modes::AssociationList::RA);
        present(w);
        break;
    }
    }
}
