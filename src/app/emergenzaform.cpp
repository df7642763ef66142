#include "app/emergenzaform.h"

#include "session/settings.h"
#include "ui/keys.h"
#include "ui/ui.h"
#include "ui/windows.h"
#include "archive/encoding.h"

#include <QHideEvent>

emergenzaform::emergenzaform(Context &ctx) : QWidget(nullptr), m_ctx(ctx)
{
    setObjectName(QStringLiteral("emergenzaform"));
    setWindowTitle(QStringLiteral("Emergenza"));
    setFixedSize(487, 155);
    ui::label(this, "Label1", QStringLiteral("Inserire il nome dell'emergenza"), 80, 24, 305, 25,
              true);
    m_name = ui::field(this, "emergenzat", 40, 64, 401, 19,
                       QStringLiteral("Inserire il nome che si vuole compaia sulle stampe."));
    m_ok = ui::button(this, "cmdok", QStringLiteral("OK"), 352, 96, 57, 25);
    connect(m_ok, &QPushButton::clicked, this, &emergenzaform::confirm);
    // Enter is "OK"; Esc closes the window as its title bar does, the name
    // left as it was.
    ui::WindowKeys::of(this)->firstFields({m_name})->mainButton(m_ok)->exitWith([this] { close(); });

    m_name->setText(m_ctx.g.nomeemergenza);
    m_shown = m_name->text();
    // A name typed and not confirmed stays while the window is open;
    // otherwise the field shows the name in use.
    onActivation(ctx, this, [this] {
        if (m_name->text() != m_shown) return;
        m_name->setText(m_ctx.g.nomeemergenza);
        m_shown = m_name->text();
    });
}

void emergenzaform::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous()) m_name->setText(m_shown);
}

void emergenzaform::confirm()
{
    // A line break pasted into the name would cut the file in two lines.
    const QString name = settings::storedEmergency(m_name->text());
    const QString refusal = cp1252::refusal(name);
    if (!refusal.isEmpty()) {
        m_ctx.platform.prompts->info(refusal);
        ui::focusField(m_name);
        return;
    }
    m_ctx.g.nomeemergenza = name;
    const auto res = settings::changeEmergency(m_ctx.folder, name);
    if (!res.ok()) {
        m_ctx.platform.prompts->info(res.message());
        return;
    }
    m_shown = m_name->text();
    hide();
}
