#include "vehicles/formautolist.h"

#include "vehicles/listlines.h"

Formautolist::Formautolist(Context &ctx)
    : PairList(ctx, {archive::File::Automezzi, &Globals::modoautolist, &vehicles::listLines, false},
               picking::Kind::Vehicle, QStringLiteral("Automezzi - Elenco generale"))
{
    setObjectName(QStringLiteral("Formautolist"));
}
