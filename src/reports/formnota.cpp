#include "reports/formnota.h"

#include "archive/diary.h"
#include "ui/keys.h"
#include "ui/ui.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

Formnota::Formnota(Context &ctx) : QWidget(nullptr), m_ctx(ctx)
{
    setObjectName(QStringLiteral("Formnota"));
    setWindowTitle(QStringLiteral("Diario di sala - Nuova nota"));
    auto *caption = new QLabel(QStringLiteral("&Nota"), this);
    m_nota = new QLineEdit(this);
    m_nota->setObjectName(QStringLiteral("txtnota"));
    m_nota->setMaxLength(1000);
    m_nota->setToolTip(QStringLiteral(
        "Che cosa è accaduto o è stato deciso: la nota entra nel diario con la data, l'ora e la "
        "postazione, e non si può più cambiare."));
    caption->setBuddy(m_nota);
    auto *cmdregistra = ui::button(this, "cmdregistra", QStringLiteral("Registra"), 110);
    auto *cmdesci = ui::button(this, "cmdesci", QStringLiteral("Esci"), 110);
    connect(cmdregistra, &QPushButton::clicked, this, &Formnota::registra);
    connect(cmdesci, &QPushButton::clicked, this, &Formnota::esci);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(caption);
    layout->addWidget(m_nota);
    layout->addWidget(new QLabel(QStringLiteral("La nota entra nel diario di sala con la data, l'ora e "
                                                "la postazione, e poi non si può più cambiare: per "
                                                "correggerla si registra una rettifica."),
                                 this));
    layout->addSpacing(8);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdregistra);
    buttons->addStretch(1);
    buttons->addWidget(cmdesci);
    layout->addLayout(buttons);
    layout->addStretch(1);
    resize(720, 150);
    ui::WindowKeys::of(this)->firstFields({m_nota})->mainButton(cmdregistra)->exitWith([this] {
        esci();
    });
}

void Formnota::start(const QString &start)
{
    // What was typed and not registered is not thrown away by a new start.
    if (isVisible() && m_nota->text().trimmed() != m_start.trimmed()) return;
    m_start = start;
    m_nota->setText(start);
    m_nota->setCursorPosition(int(start.size()));
}

void Formnota::registra()
{
    Prompts &prompts = *m_ctx.platform.prompts;
    if (m_nota->text().trimmed() == m_start.trimmed()) {
        prompts.info(QStringLiteral("Scrivere il testo della nota."));
        ui::focusField(m_nota);
        return;
    }
    BusyGuard busy(*m_ctx.platform.busy);
    const archive::IoResult io = diary::addNote(m_ctx.folder, m_nota->text().simplified());
    busy.release();
    if (!io.ok()) {
        // The note stays as typed.
        prompts.info(io.message());
        ui::focusField(m_nota);
        return;
    }
    m_start.clear();
    m_nota->clear();
    hide();
}

void Formnota::esci()
{
    if (m_nota->text().trimmed() != m_start.trimmed()
        && !m_ctx.platform.prompts->question(
            QStringLiteral("La nota non è stata registrata nel diario. Abbandonarla?")))
        return;
    m_start.clear();
    m_nota->clear();
    hide();
}
