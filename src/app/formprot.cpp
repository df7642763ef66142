#include "app/formprot.h"

#include "session/settings.h"
#include "ui/keys.h"
#include "ui/ui.h"
#include "ui/windows.h"
#include "archive/text.h"

#include <QHideEvent>

Formprot::Formprot(Context &ctx) : QWidget(nullptr), m_ctx(ctx)
{
    setObjectName(QStringLiteral("Formprot"));
    setWindowTitle(QStringLiteral("Numero protocollo"));
    setFixedSize(264, 203);
    ui::label(this, "Label1", QStringLiteral("Numero protocollo"), 56, 40, 137, 33, true);
    m_numprot = ui::field(this, "numprot", 88, 96, 73, 25);
    auto *modifica = ui::button(this, "cmdmodifica", QStringLiteral("Modifica"), 32, 152, 73, 33);
    auto *esci = ui::button(this, "cmdesci", QStringLiteral("Esci"), 152, 152, 81, 33);
    connect(modifica, &QPushButton::clicked, this, &Formprot::store);
    connect(esci, &QPushButton::clicked, this, &QWidget::hide);
    onActivation(ctx, this, [this] { load(); });
    ui::WindowKeys::of(this)->firstFields({m_numprot})->mainButton(modifica)->exitButton(esci);
}

void Formprot::load()
{
    // A number typed and not stored stays while the window is open;
    // otherwise the field follows the counter, which registering an
    // activity moves on.
    if (m_numprot->text() != m_shown) return;
    // A missing, empty or unreadable counter file counts as 0.
    m_ctx.g.ultimoprot = settings::readCounter(m_ctx.path(archive::File::NumeroProt)).value_or(0);
    m_numprot->setText(QString::number(m_ctx.g.ultimoprot));
    m_shown = m_numprot->text();
}

void Formprot::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous()) m_numprot->setText(m_shown);
}

void Formprot::store()
{
    const auto value = text::parseRounded(m_numprot->text());
    if (!value) {
        m_ctx.platform.prompts->info(QStringLiteral(
            "Numero protocollo errato: inserire un numero intero da -32768 a 32767."));
        ui::focusField(m_numprot);
        return;
    }
    const auto res = settings::changeCounter(m_ctx.folder, *value);
    if (!res.ok()) {
        m_ctx.platform.prompts->info(res.message());
        return;
    }
    m_ctx.g.ultimoprot = *value;
    m_shown = m_numprot->text();
    m_ctx.platform.prompts->info(QStringLiteral("Numero protocollo modificato."));
}
