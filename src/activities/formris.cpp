#include "activities/formris.h"

#include "activities/formattivita.h"
#include "ui/ui.h"
#include "ui/windows.h"
#include "archive/text.h"
#include "printing/printout.h"
#include "activities/flow.h"
#include "activities/formsto.h"
#include "resources/operations.h"

using ui::tw;

Formris::Formris(Context &ctx) : QWidget(nullptr), m_ctx(ctx)
{
    setObjectName(QStringLiteral("Formris"));
    setWindowTitle(QStringLiteral("Risorse per una attività"));
    setFixedSize(tw(11115), tw(2940));

    ui::label(this, "Label1", QStringLiteral("Risorsa"), tw(240), tw(480), tw(2000), tw(255));
    m_risorsa = ui::field(this, "risorsa", tw(240), tw(720), tw(9135), tw(315));
    // The line is shown as the list had it, columns one under the other.
    m_risorsa->setFont(printing::courier(7.5));
    m_risorsa->setReadOnly(true);
    ui::label(this, "Label2", QStringLiteral("Quantità"), tw(9720), tw(480), tw(1200), tw(255));
    m_qta = ui::field(this, "qta", tw(9720), tw(720), tw(735), tw(315));
    m_nomi = ui::button(this, "cmdnomi", QStringLiteral("Nomi"), tw(9720), tw(1200), tw(735),
                        tw(375));
    auto *aggiungi = ui::button(this, "cmdaggiungi", QStringLiteral("Aggiungi"), tw(7200),
                                tw(1920), tw(1815), tw(495));
    auto *annulla = ui::button(this, "cmdannulla", QStringLiteral("Annulla"), tw(9240), tw(1920),
                               tw(1815), tw(495));

    // No work of its own on activation, but the list the user comes back to
    // afterwards is activated anew and shows what the pick changed.
    onActivation(ctx, this, [] {});

    connect(aggiungi, &QPushButton::clicked, this, &Formris::aggiungi);
    connect(annulla, &QPushButton::clicked, this, &QWidget::hide);
    connect(m_nomi, &QPushButton::clicked, this, &Formris::nomi);
}

void Formris::offer(const QString &line, const QString &qta, bool names)
{
    m_risorsa->setText(line);
    m_risorsa->setCursorPosition(0);
    m_qta->setText(qta);
    m_nomi->setVisible(names);
    present(this);
}

void Formris::aggiungi()
{
    Formattivita *activity = resources::receivingActivityOrTell(m_ctx);
    if (!activity) {
        hide();
        return;
    }
    const ResourceKind kind = m_ctx.g.tiporisorsa;
    const QString &picked = m_ctx.g.rigarisorsa;
    qint16 q = 1;
    if (kind != ResourceKind::Vehicle) {
        const auto typed = resources::quantity(m_qta->text());
        if (!typed) {
            m_ctx.platform.prompts->info(resources::quantityRefusal());
            return;
        }
        q = *typed;
    }
    QString line;
    switch (kind) {
    case ResourceKind::Equipment: line = resources::equipmentLine(picked, q); break;
    case ResourceKind::Vehicle: line = resources::vehicleLine(picked); break;
    case ResourceKind::Association: line = resources::volunteersLine(picked, q); break;
    }

    BusyGuard busy(*m_ctx.platform.busy);
    // A closed or cancelled activity takes nothing from the registers.
    std::function<archive::Outcome()> take;
    if (!m_ctx.g.attchiusa)
        take = [&] { return resources::engage(m_ctx.folder, kind, picked, q); };
    const QString refused = activity->takeAndAdd(line, take);
    busy.release();
    if (!refused.isEmpty()) {
        m_ctx.platform.prompts->info(refused);
        return;
    }
    hide();
}

void Formris::nomi()
{
    auto *names = m_ctx.windows->get<Formsto>();
    names->setWindowTitle(QStringLiteral("Volontari -  Inserimento nominativi volontari "));
    present(names);
}
