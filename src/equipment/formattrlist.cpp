#include "equipment/formattrlist.h"

#include "equipment/listlines.h"
#include "associations/listlines.h"

Formattrlist::Formattrlist(Context &ctx)
    : PairList(ctx,
               {archive::File::Attrezzature, &Globals::modoattrlist, &equipment::listLines, true,
                &associations::namesContaining, &equipment::columnHeadings},
               ResourceKind::Equipment, QStringLiteral("Attrezzature - Elenco generale"))
{
    setObjectName(QStringLiteral("Formattrlist"));
}
