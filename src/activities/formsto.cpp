#include "activities/formsto.h"

#include "printing/printout.h"
#include "resources/operations.h"
#include "ui/keys.h"
#include "ui/ui.h"
#include "ui/windows.h"

#include <QListWidget>

using archive::File;
using ui::tw;

Formsto::Formsto(Context &ctx)
    : QWidget(nullptr), m_ctx(ctx), m_session(*ctx.windows->get<activities::ActivitySession>())
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
    connect(&m_session, &activities::ActivitySession::loaded, this, &QWidget::hide);
    onActivation(ctx, this, [this] { activated(); });

    // Space ticks the name under the cursor, Enter inserts the ticked ones.
    ui::tabChain({m_list, inserisci, esci});
    ui::WindowKeys::of(this)->firstFields({m_list})->mainButton(inserisci)->exitButton(esci);
}

void Formsto::activated()
{
    BusyGuard busy(*m_ctx.platform.busy);
    m_list->clear();
    QStringList items{QString()};
    items << resources::volunteerNames(m_ctx.path(File::Volontari), m_session.pick().line.left(50));
    for (const QString &name : items) {
        auto *item = new QListWidgetItem(name, m_list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

void Formsto::inserisci()
{
    // The first item is the empty one: never a volunteer.
    QStringList names;
    for (int i = 1; i < m_list->count(); ++i)
        if (m_list->item(i)->checkState() == Qt::Checked) names << m_list->item(i)->text();
    const activities::ActivitySession::Outcome out = m_session.addNamed(names);
    hide();
    for (const QString &m : out.messages) m_ctx.platform.prompts->info(m);
}
