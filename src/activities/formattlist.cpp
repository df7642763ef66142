#include "activities/formattlist.h"

#include "activities/formattivita.h"
#include "activities/activitysession.h"
#include "activities/lists.h"
#include "ui/keys.h"
#include "ui/ui.h"
#include "ui/windows.h"
#include "printing/printout.h"

#include <QGridLayout>
#include "ui/linelist.h"

using archive::File;

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

    ui::tabChain({m_cerca, cmdcerca, m_list, cmdstampa, cmdlistesci});
    ui::WindowKeys::of(this)
        ->firstFields({m_cerca})
        ->exitButton(cmdlistesci)
        ->enterIn(m_cerca, cmdcerca)
        ->onKeys(m_cerca, {Qt::Key_Down}, [this] { m_list->setFocus(); })
        ->onKeys(nullptr, {Qt::Key_F5}, [this] {
            if (m_source) setLines(m_source(), m_list->headings());
        });
    // The same list read again, the same line chosen: the search text and
    // the mode stay as they are.
    onFolderChange(ctx, this, [this] {
        if (!m_source) return;
        m_list->keepingPlace([this] { m_list->setLines(m_source()); },
                             [](const QString &line) {
                                 // An activity's line, or the first of its block.
                                 const QString prot = activities::protocolOf(line);
                                 bool number = false;
                                 prot.toInt(&number);
                                 return number ? prot : QString();
                             });
    });
}

void Formattlist::prepare(modes::ActivityList mode, const QString &title)
{
    m_ctx.g.modoattlist = mode;
    setWindowTitle(title);
}

void Formattlist::setLines(const QStringList &lines, const QString &headings)
{
    m_list->setLines(lines);
    m_list->setHeadings(headings);
}

void Formattlist::activated()
{
    using modes::ActivityList;
    const ActivityList mode = m_ctx.g.modoattlist;
    const QString attivita = m_ctx.path(File::Attivita);
    if (mode == ActivityList::G) {
        showFrom(
            [this, attivita] {
                BusyGuard busy(*m_ctx.platform.busy);
                return activities::chronologicalList(attivita, m_ctx.path(File::Risorse),
                                                     m_ctx.g.nomeemergenza);
            },
            activities::chronologicalHeadings());
    } else if (mode == ActivityList::A || mode == ActivityList::M) {
        m_cerca->clear();
        showFrom([attivita] { return activities::shortList(attivita, activities::ShortFilter::All); },
                 activities::shortHeadings());
    } else if (mode == ActivityList::V) {
        m_cerca->clear();
        showFrom(
            [attivita] { return activities::shortList(attivita, activities::ShortFilter::Closed); },
            activities::shortHeadings());
    } else if (mode == ActivityList::Z) {
        m_cerca->clear();
        showFrom(
            [attivita] {
                return activities::shortList(attivita, activities::ShortFilter::Cancelled);
            },
            activities::shortHeadings());
    } // in no mode the list stays as it was
}

void Formattlist::showFrom(std::function<QStringList()> source, const QString &headings)
{
    m_source = std::move(source);
    setLines(m_source(), headings);
}

void Formattlist::cerca()
{
    showFrom([path = m_ctx.path(File::Attivita),
              typed = m_cerca->text()] { return activities::searchByType(path, typed); },
             activities::shortHeadings());
}

void Formattlist::chosen(const QString &line)
{
    using modes::ActivityList;
    const ActivityList mode = m_ctx.g.modoattlist;
    const bool cancelling = mode == ActivityList::A;
    if (!cancelling && mode != ActivityList::M && mode != ActivityList::V && mode != ActivityList::Z)
        return;
    auto *activity = m_ctx.windows->get<Formattivita>();
    if (!activity->startTask(cancelling ? modes::Activity::A : modes::Activity::M,
                             activities::protocolOf(line), false)) {
        activity->showTask(this);
        return;
    }
    if (cancelling)
        activity->prepare(QStringLiteral("Attività - Annullamento"), QStringLiteral("Annulla"),
                          false);
    else
        activity->prepare(QStringLiteral("Attività - Modifica"), QStringLiteral("Modifica"), false);
    activity->showTask(this);
    ui::focusFirstField(activity);
}

void Formattlist::stampa()
{
    printing::Printout p;
    p.points = 10;
    p.orientation = Orientation::Landscape;
    p.lines = m_list->lines();
    printing::print(m_ctx.platform, p);
}
