#include "registers/registerlist.h"

#include "ui/keys.h"
#include "ui/linelist.h"
#include "ui/ui.h"
#include "ui/windows.h"
#include "printing/printout.h"

#include <QGridLayout>
#include <QPushButton>

namespace registers {

RegisterList::RegisterList(Context &ctx, const Look &look)
    : QWidget(nullptr), m_ctx(ctx), m_look(look)
{
    m_list = new LineList(this);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setFont(printing::courier(look.listPoints));
    m_cmdcerca = ui::button(this, "cmdcerca", QStringLiteral("Cerca"), 90);

    connect(m_list, &LineList::lineChosen, this,
            [this](int row) { chosen(row, m_list->text(row), m_shown.isRecord(row)); });
    connect(m_cmdcerca, &QPushButton::clicked, this, [this] { cerca(); });
    onActivation(ctx, this, [this] { activated(); });
    onFolderChange(ctx, this, [this] {
        m_list->keepingPlace([this] { rebuild(); },
                             [this](const QString &line) { return line.left(m_keyColumns); });
    });
}

void RegisterList::arrange(QWidget *searchField, int width, int height)
{
    auto *cmdstampa = ui::button(this, "cmdstampa", QStringLiteral("Stampa"), 90);
    auto *cmdlistesci = ui::button(this, "cmdlistesci", QStringLiteral("Esci"), 90);
    connect(cmdstampa, &QPushButton::clicked, this, &RegisterList::stampa);
    connect(cmdlistesci, &QPushButton::clicked, this, &QWidget::hide);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(16, 16, 16, 16);
    grid->setHorizontalSpacing(12);
    grid->addWidget(searchField, 0, 0);
    grid->addWidget(m_cmdcerca, 0, 1, Qt::AlignLeft);
    grid->addWidget(m_list, 1, 0, 1, 4);
    grid->addWidget(cmdstampa, 2, 0, Qt::AlignLeft);
    grid->addWidget(cmdlistesci, 2, 3, Qt::AlignRight);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(1, 1);
    searchField->setFixedWidth(320);
    // Hidden search controls keep their place, so the list does not move.
    for (QWidget *w : {searchField, static_cast<QWidget *>(m_cmdcerca)}) {
        QSizePolicy p = w->sizePolicy();
        p.setRetainSizeWhenHidden(true);
        w->setSizePolicy(p);
    }
    resize(width, height);

    ui::tabChain({searchField, m_cmdcerca, m_list, cmdstampa, cmdlistesci});
    ui::WindowKeys::of(this)
        ->firstFields({searchField, m_list})
        ->exitButton(cmdlistesci)
        ->enterIn(searchField, m_cmdcerca)
        ->onKeys(nullptr, {Qt::Key_F5}, [this] { rebuild(); });
}

const QStringList &RegisterList::lines() const { return m_list->lines(); }

void RegisterList::showLines(const registers::ListLines &lines)
{
    m_list->setLines(lines.lines);
    m_shown.records = lines.records;
}

void RegisterList::clearList()
{
    m_list->clear();
    m_shown.records = 0;
}

void RegisterList::stampa()
{
    printing::Printout p;
    p.points = m_look.printPoints;
    p.orientation = m_look.orientation;
    p.lines = lines();
    printing::print(m_ctx.platform, p);
}

} // namespace registers
