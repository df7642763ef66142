#include "reports/menu.h"

#include "app/windows.h"
#include "reports/formrapimpiego.h"
#include "reports/formrappresenze.h"
#include "reports/formrapquadro.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace reports {

namespace {

template <class W> void entry(QMenu *menu, Context &ctx, const char *name, const QString &caption)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    QObject::connect(a, &QAction::triggered, menu, [&ctx] { present(ctx.windows->get<W>()); });
}

} // namespace

void addMenu(QMenuBar *bar, Context &ctx)
{
    QMenu *menu = bar->addMenu(QStringLiteral("Rapporti"));
    menu->setObjectName(QStringLiteral("mnrap"));
    menu->menuAction()->setObjectName(QStringLiteral("mnrap"));
    entry<Formrapquadro>(menu, ctx, "mnrapquadro", QStringLiteral("Quadro della situazione"));
    entry<Formrapimpiego>(menu, ctx, "mnrapimpiego", QStringLiteral("Impiego per associazione"));
    entry<Formrappresenze>(menu, ctx, "mnrappresenze", QStringLiteral("Presenze dei volontari"));
}

} // namespace reports
