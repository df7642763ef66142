#include "activities/formattlist.h"

#include "activities/formattivita.h"
#include "activities/lists.h"
#include "ui/ui.h"
#include "ui/windows.h"
#include "printing/printout.h"

#include <QGridLayout>
#include "ui/linelist.h"

using archive::File;

namespace {

QString titleFor(const QString &mode)
{
    if (mode == QLatin1String("G")) return QStringLiteral("Attività - Elenco cronologico");
    if (mode == QLatin1String("V")) return QStringLiteral("Attività - Attività chiuse");
    if (mode == QLatin1String("Z")) return QStringLiteral("Attività - Attività annullate");
    if (mode == QLatin1String("M")) return QStringLiteral("Attività - Scelta dell'attività da modificare");
    if (mode == QLatin1String("A")) return QStringLiteral("Attività - Scelta dell'attività da annullare");
    return {};
}

} // namespace

Formattlist::Formattlist(Context &ctx) : QWidget(nullptr), m_ctx(ctx)
{
    setObjectName(QStringLiteral("Formattlist"));
    setWindowTitle(QStringLiteral("Attività - Elenco"));

    m_cerca = new QLineEdit(this);
    m_cerca->setObjectName(QStringLiteral("cerca"));
    m_cerca->setToolTip(QStringLiteral("Inserire alcuni caratteri presenti nel tipo dell'attività."));
    auto *cmdcerca = new QPushButton(QStringLiteral("Cerca"), this);
    cmdcerca->setObjectName(QStringLiteral("cmdcerca"));
    cmdcerca->setAutoDefault(false);

    m_list = new LineList(this);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setFont(printing::courier(9.75));

    auto *cmdstampa = new QPushButton(QStringLiteral("Stampa"), this);
    cmdstampa->setObjectName(QStringLiteral("cmdstampa"));
    cmdstampa->setAutoDefault(false);
    auto *cmdlistesci = new QPushButton(QStringLiteral("Esci"), this);
    cmdlistesci->setObjectName(QStringLiteral("cmdlistesci"));
    cmdlistesci->setAutoDefault(false);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(16, 16, 16, 16);
    grid->setHorizontalSpacing(12);
    grid->addWidget(m_cerca, 0, 0);
    grid->addWidget(cmdcerca, 0, 1);
    grid->addWidget(m_list, 1, 0, 1, 4);
    grid->addWidget(cmdstampa, 2, 0, Qt::AlignLeft);
    grid->addWidget(cmdlistesci, 2, 3, Qt::AlignRight);
    grid->setColumnStretch(2, 1);
    m_cerca->setFixedWidth(300);
    for (QPushButton *b : {cmdcerca, cmdstampa, cmdlistesci}) b->setMinimumWidth(90);
    resize(1000, 640);

    connect(cmdcerca, &QPushButton::clicked, this, &Formattlist::cerca);
    connect(m_list, &LineList::lineChosen, this, [this](int row) { chosen(m_list->text(row)); });
    connect(cmdstampa, &QPushButton::clicked, this, &Formattlist::stampa);
    connect(cmdlistesci, &QPushButton::clicked, this, &QWidget::hide);
    onActivation(ctx, this, [this] { activated(); });
}

void Formattlist::setLines(const QStringList &lines)
{
    m_list->setLines(lines);
}

void Formattlist::activated()
{
    const QString &mode = m_ctx.g.modoattlist;
    const QString attivita = m_ctx.path(File::Attivita);
    if (mode == QLatin1String("G")) {
        BusyGuard busy(*m_ctx.platform.busy);
        setLines(activities::chronologicalList(attivita, m_ctx.path(File::Risorse),
                                           m_ctx.g.nomeemergenza));
    } else if (mode == QLatin1String("A") || mode == QLatin1String("M")) {
        m_cerca->clear();
        setLines(activities::shortList(attivita, activities::ShortFilter::All));
    } else if (mode == QLatin1String("V")) {
        m_cerca->clear();
        setLines(activities::shortList(attivita, activities::ShortFilter::Closed));
    } else if (mode == QLatin1String("Z")) {
        m_cerca->clear();
        setLines(activities::shortList(attivita, activities::ShortFilter::Cancelled));
    } else {
        return; // any other code leaves the list as it was
    }
    setWindowTitle(titleFor(mode));
}

void Formattlist::cerca()
{
    setLines(activities::searchByType(m_ctx.path(File::Attivita), m_cerca->text()));
}

void Formattlist::chosen(const QString &line)
{
    const QString &mode = m_ctx.g.modoattlist;
    const bool cancelling = mode == QLatin1String("A");
    if (!cancelling && mode != QLatin1String("M") && mode != QLatin1String("V")
        && mode != QLatin1String("Z"))
        return;
    m_ctx.g.protsel = activities::protocolOf(line);
    m_ctx.g.modoatt = cancelling ? QStringLiteral("A") : QStringLiteral("M");
    auto *activity = m_ctx.windows->get<Formattivita>();
    if (cancelling)
        activity->prepare(QStringLiteral("Attività - Annullamento"), QStringLiteral("Annulla"), false);
    else
        activity->prepare(QStringLiteral("Attività - Modifica"), QStringLiteral("Modifica"), false);
    present(activity);
}

void Formattlist::stampa()
{
    printing::Printout p;
    p.points = 10;
    p.orientation = Orientation::Landscape;
    p.lines = m_list->lines();
    printing::print(m_ctx.platform, p);
}
