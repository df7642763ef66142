#include "equipment/formattrlist.h"

#include "equipment/listlines.h"

Formattrlist::Formattrlist(Context &ctx)
    : PairList(ctx,
               {archive::File::Attrezzature, &Globals::modoattrlist, &equipment::listLines, true},
               picking::Kind::Equipment, QStringLiteral("Attrezzature - Elenco generale"))
{
    setObjectName(QStringLiteral("Formattrlist"));
}
