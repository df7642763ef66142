#include "activities/formsto.h"

#include "activities/formattivita.h"
#include "ui/ui.h"
#include "ui/windows.h"
#include "archive/encoding.h"
#include "printing/printout.h"
#include "activities/flow.h"
#include "resources/operations.h"

#include <QListWidget>

using archive::File;
using ui::tw;

Formsto::Formsto(Context &ctx) : QWidget(nullptr), m_ctx(ctx)
{
    setObjectName(QStringLiteral("Formsto"));
    setWindowTitle(QStringLiteral("Volontari -  Inserimento nominativi volontari "));
    setFixedSize(tw(11880), tw(8595));

    m_list = ui::make<QListWidget>(this, "List1", tw(600), tw(720), tw(10575), tw(6585));
    m_list->setFont(printing::fixedFont(QStringLiteral("Courier"), 9.75));
    m_list->setToolTip(QStringLiteral("Spuntare i volontari da inserire."));
    auto *inserisci = ui::button(this, "cmdinserimento", QStringLiteral("Inserisci"), tw(7680),
                                 tw(7680), tw(1815), tw(495));
    auto *esci = ui::button(this, "cmdesci", QStringLiteral("Esci"), tw(9720), tw(7680), tw(1815),
                            tw(495));

    connect(inserisci, &QPushButton::clicked, this, &Formsto::inserisci);
    connect(esci, &QPushButton::clicked, this, &QWidget::hide);
    onActivation(ctx, this, [this] { activated(); });
}

void Formsto::activated()
{
    BusyGuard busy(*m_ctx.platform.busy);
    m_list->clear();
    QStringList items{QString()};
    items << resources::volunteerNames(m_ctx.path(File::Volontari), m_ctx.g.rigarisorsa.left(50));
    for (const QString &name : items) {
        auto *item = new QListWidgetItem(name, m_list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

void Formsto::inserisci()
{
    Formattivita *activity = resources::receivingActivityOrTell(m_ctx);
    if (!activity) {
        hide();
        return;
    }
    // The first item is the empty one: never a volunteer. A name that the
    // resource archive could not hold is told and left out.
    QStringList refused;
    for (int i = 1; i < m_list->count(); ++i) {
        const QListWidgetItem *item = m_list->item(i);
        if (item->checkState() != Qt::Checked) continue;
        const QString why = cp1252::refusal(item->text());
        if (!why.isEmpty()) {
            refused << why;
            continue;
        }
        activity->addResourceLine(resources::namedVolunteerLine(m_ctx.g.rigarisorsa, item->text()));
    }
    hide();
    for (const QString &m : refused) m_ctx.platform.prompts->info(m);
}
