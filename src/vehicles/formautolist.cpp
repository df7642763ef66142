#include "vehicles/formautolist.h"

#include "vehicles/listlines.h"
#include "associations/listlines.h"

Formautolist::Formautolist(Context &ctx)
    : PairList(ctx,
               {archive::File::Automezzi, &Globals::modoautolist, &vehicles::listLines, false,
                &associations::namesContaining, &vehicles::columnHeadings},
               ResourceKind::Vehicle, QStringLiteral("Automezzi - Elenco generale"))
{
    setObjectName(QStringLiteral("Formautolist"));
}
