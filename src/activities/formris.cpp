#include "activities/formris.h"

#include "activities/formsto.h"
#include "printing/printout.h"
#include "registers/listlines.h"
#include "ui/keys.h"
#include "ui/ui.h"
#include "ui/windows.h"

#include <algorithm>

using ui::tw;

Formris::Formris(Context &ctx)
    : QWidget(nullptr), m_ctx(ctx), m_session(*ctx.windows->get<activities::ActivitySession>())
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
    auto *aggiungi = ui::button(this, "cmdaggiungi", QStringLiteral("Aggiungi"), tw(7200), tw(1920),
                                tw(1815), tw(495));
    auto *annulla = ui::button(this, "cmdannulla", QStringLiteral("Annulla"), tw(9240), tw(1920),
                               tw(1815), tw(495));

    // No work of its own on activation, but the list the user comes back to
    // afterwards is activated anew and shows what the pick changed.
    onActivation(ctx, this, [] {});

    connect(aggiungi, &QPushButton::clicked, this, &Formris::aggiungi);
    connect(annulla, &QPushButton::clicked, this, &QWidget::hide);
    connect(m_nomi, &QPushButton::clicked, this, &Formris::nomi);
    // The pick belongs to the activity it was made for: another one loaded
    // in the activity window closes it.
    connect(&m_session, &activities::ActivitySession::loaded, this, &QWidget::hide);

    m_risorsa->setFocusPolicy(Qt::ClickFocus); // shown, never typed
    ui::tabChain({m_qta, m_nomi, aggiungi, annulla});
    ui::WindowKeys::of(this)->firstFields({m_qta})->mainButton(aggiungi)->exitButton(annulla);
}

namespace {

// One piece or volunteer, or none when none is available: "Aggiungi" never
// engages everything the list shows by itself. A count the list line does
// not hold readably is proposed as one.
QString proposedQuantity(const activities::Pick &pick)
{
    bool ok = false;
    const int available = registers::listQuantity(pick.kind, pick.line).trimmed().toInt(&ok);
    return QString::number(ok ? std::clamp(available, 0, 1) : 1);
}

} // namespace

void Formris::showPick(const QWidget *list)
{
    const activities::Pick &pick = m_session.pick();
    m_risorsa->setText(pick.line);
    m_risorsa->setCursorPosition(0);
    m_qta->setText(proposedQuantity(pick));
    m_nomi->setVisible(pick.kind == ResourceKind::Association);
    present(this, list);
    // Typing replaces the proposal.
    ui::focusField(m_qta);
}

void Formris::aggiungi()
{
    BusyGuard busy(*m_ctx.platform.busy);
    const activities::ActivitySession::Outcome out = m_session.add(m_qta->text());
    busy.release();
    for (const QString &m : out.messages) m_ctx.platform.prompts->info(m);
    // A refusal leaves the quantity to be corrected.
    if (out.status != activities::ActivitySession::Outcome::Refused) hide();
    else ui::focusField(m_qta);
}

void Formris::nomi()
{
    auto *names = m_ctx.windows->get<Formsto>();
    names->setWindowTitle(QStringLiteral("Volontari -  Inserimento nominativi volontari "));
    present(names, this);
    ui::focusFirstField(names);
}
