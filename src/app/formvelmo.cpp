#include "app/formvelmo.h"

#include "app/desks.h"

#include "activities/activitysession.h"
#include "activities/formattivita.h"
#include "activities/formris.h"
#include "activities/lists.h"
#include "activities/records.h"
#include "associations/formlist.h"
#include "equipment/formattrlist.h"
#include "vehicles/formautolist.h"
#include "app/emergenzaform.h"
#include "archive/rewrite.h"
#include "printing/printout.h"
#include "session/settings.h"
#include "session/snapshot.h"
#include "ui/keys.h"
#include "ui/linelist.h"
#include "ui/ui.h"
#include "ui/windows.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHash>
#include <QLayout>

#include <QLabel>
#include <QMenuBar>
#include <functional>
#include <utility>

Formvelmo::Formvelmo(Context &ctx) : QMainWindow(nullptr), m_ctx(ctx)
{
    setObjectName(QStringLiteral("Formvelmo"));
    showTitle();
    m_quit = [] { QCoreApplication::quit(); };

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(792, 554);
    setCentralWidget(client);

    QLabel *label1 = ui::label(client, "Label1",
                               QStringLiteral("Attività richieste ma non ancora iniziate"), 24, 48,
                               281, 25, true);
    m_richieste = ui::field(client, "richieste", 312, 48, 41, 19);
    m_richieste->setReadOnly(true);
    m_list1 = ui::make<LineList>(client, "List1", 24, 72, 737, 173);
    QLabel *label2 = ui::label(client, "Label2",
                               QStringLiteral("Attività iniziate ma non ancora chiuse"), 24, 304,
                               281, 25, true);
    m_iniziate = ui::field(client, "iniziate", 312, 304, 41, 19);
    // Where the screen font is wider than the label, the label grows and its
    // count box moves along, so the caption is never cut.
    for (auto [label, count] :
         {std::pair<QLabel *, QLineEdit *>{label1, m_richieste}, {label2, m_iniziate}}) {
        const int needed = label->sizeHint().width();
        if (needed <= label->width()) continue;
        label->resize(needed, label->height());
        count->move(label->x() + needed + 7, count->y());
    }
    m_iniziate->setReadOnly(true);
    m_list2 = ui::make<LineList>(client, "List2", 24, 328, 737, 173);
    for (LineList *list : {m_list1, m_list2}) {
        // In the lists' fixed-pitch font the headings stand over their columns.
        list->setFont(printing::courier(9.75));
        list->setHeadings(activities::shortHeadings());
        connect(list, &LineList::lineChosen, this,
                [this, list](int row) { lineClicked(list->text(row)); });
    }

    connect(m_ctx.windows->get<activities::ActivitySession>(),
            &activities::ActivitySession::pickStarted, this, &Formvelmo::openPickList);

    buildMenus();
    if (m_ctx.consultation) consultationOnly();
    // The count boxes only tell: Tab goes from list to list.
    for (QLineEdit *count : {m_richieste, m_iniziate}) count->setFocusPolicy(Qt::ClickFocus);
    ui::tabChain({m_list1, m_list2});
    ui::WindowKeys::of(this)
        ->firstFields({m_list1})
        ->onKeys(nullptr, {Qt::Key_F5}, [this] { caricaliste(); })
        ->onKeys(nullptr, {Qt::Key_F10}, [this] { openMenuBar(); });
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Load: the paths are fixed already (Context), the emergency name is
    // read, the lists are filled.
    m_ctx.g.nomeemergenza = settings::readEmergency(m_ctx.path(archive::File::Emergenza));
    caricaliste();
    onActivation(ctx, this, [this] { activated(); });
    // What another copy registers shows up with the line chosen and the
    // scroll position kept.
    onFolderChange(ctx, this, [this] {
        const auto protocol = [](const QString &line) { return activities::protocolOf(line); };
        m_list1->keepingPlace([&] { m_list2->keepingPlace([&] { caricaliste(); }, protocol); },
                              protocol);
    });
}

void Formvelmo::buildMenus()
{
    // Each menu is added when its first entry comes, so the table's order is
    // the menu's order.
    QHash<QString, QMenu *> made;
    std::function<QMenu *(const QString &)> menuNamed = [&](const QString &name) -> QMenu * {
        if (name.isEmpty()) return nullptr;
        if (QMenu *m = made.value(name)) return m;
        for (const MenuFolder &f : menuFolders()) {
            if (name != QLatin1String(f.name)) continue;
            QMenu *parent = menuNamed(QString::fromLatin1(f.parent));
            QMenu *m = parent ? parent->addMenu(f.label) : menuBar()->addMenu(f.label);
            m->setObjectName(name);
            m->menuAction()->setObjectName(name);
            made.insert(name, m);
            return m;
        }
        qFatal("menu %s missing from the menu table", qPrintable(name));
    };
    for (const MenuEntry &e : menuTable()) {
        QMenu *parent = menuNamed(QString::fromLatin1(e.menu));
        QAction *a = parent ? parent->addAction(e.label) : menuBar()->addAction(e.label);
        a->setObjectName(QString::fromLatin1(e.name));
        connect(a, &QAction::triggered, this, [this, &e] { choose(e); });
    }
    for (const MenuShortcut &s : menuShortcuts()) {
        QAction *a = action(QString::fromLatin1(s.name));
        a->setShortcut(s.key);
        a->setShortcutContext(Qt::ApplicationShortcut);
    }
}

void Formvelmo::openMenuBar()
{
    for (QAction *a : menuBar()->actions()) {
        if (!a->isEnabled() || !a->isVisible()) continue;
        menuBar()->setActiveAction(a);
        return;
    }
}

void Formvelmo::choose(const MenuEntry &e)
{
    if (e.snapshotFirst) newRollbackPoint();
    e.run(*this, m_ctx, e);
    // The window the entry opened starts from its first field, also when
    // it was shown already.
    for (QWidget *w : QApplication::topLevelWidgets())
        if (*e.window && w->objectName() == QLatin1String(e.window) && w->isVisible())
            ui::focusFirstField(w);
}

void Formvelmo::showTitle()
{
    // Where several desks write, the title says which one this is.
    QString title = QStringLiteral("Gestione Attività di Protezione Civile");
    const QString desk = desks::shownName(m_ctx);
    if (!desk.isEmpty()) title += QStringLiteral(" - postazione ") + desk;
    if (m_ctx.consultation) title += QStringLiteral(" - sola consultazione");
    setWindowTitle(title);
}

void Formvelmo::consultationOnly()
{
    showTitle();
    // Every entry that changes an archive; lists, searches, printouts and
    // Salva Archivi (which writes elsewhere) stay.
    for (const MenuFolder &f : menuFolders())
        if (f.writes) action(QString::fromLatin1(f.name))->setEnabled(false);
    for (const MenuEntry &e : menuTable())
        if (e.writes) action(QString::fromLatin1(e.name))->setEnabled(false);
}

QAction *Formvelmo::action(const QString &name) const
{
    for (QAction *a : findChildren<QAction *>())
        if (a->objectName() == name) return a;
    return nullptr;
}

void Formvelmo::activated()
{
    if (!m_activatedOnce) {
        m_activatedOnce = true;
        // The emergency name is changed only by the copy that writes.
        if (!m_ctx.consultation) present(m_ctx.windows->get<emergenzaform>(), this);
    }
    showTitle();
    caricaliste();
}

void Formvelmo::caricaliste()
{
    m_list1->clear();
    m_list2->clear();
    m_richieste->clear();
    m_iniziate->clear();
    QStringList waiting, started;
    archive::readRecords(m_ctx.path(archive::File::Attivita), activities::activityFormat(),
                         [&](const archive::Record &r) {
                             if (r.at(activities::Stato) != QLatin1String("A")) return true;
                             (r.at(activities::OraIn).isEmpty() ? waiting : started)
                                 << activities::shortLine(r);
                             return true;
                         });
    m_list1->setLines(waiting);
    m_list2->setLines(started);
    if (!waiting.isEmpty()) m_richieste->setText(QString::number(waiting.size()));
    if (!started.isEmpty()) m_iniziate->setText(QString::number(started.size()));
}

void Formvelmo::lineClicked(const QString &line)
{
    QString prot = line.left(6);
    while (prot.startsWith(QLatin1Char(' '))) prot.remove(0, 1);
    auto *activity = m_ctx.windows->get<Formattivita>();
    // In consultation the activity window shows the activity and changes
    // nothing: there is no rollback point to take.
    if (activity->startTask(modes::Activity::M, prot, !m_ctx.consultation))
        activity->prepare(QStringLiteral("Attività - Modifica"), QStringLiteral("Modifica"), false);
    activity->showTask(this);
    ui::focusFirstField(activity);
}

void Formvelmo::closeEvent(QCloseEvent *event)
{
    if (end()) event->accept();
    else event->ignore();
}

void Formvelmo::discardUnregisteredActivity()
{
    // Nothing stays taken from the registers for an activity never registered.
    BusyGuard busy(*m_ctx.platform.busy);
    const auto out = m_ctx.windows->get<activities::ActivitySession>()->discard();
    busy.release();
    for (const QString &m : out.messages) m_ctx.platform.prompts->info(m);
}

registers::RegisterList *Formvelmo::pickList(ResourceKind kind) const
{
    switch (kind) {
    case ResourceKind::Equipment: return m_ctx.windows->get<Formattrlist>();
    case ResourceKind::Vehicle: return m_ctx.windows->get<Formautolist>();
    case ResourceKind::Association: return m_ctx.windows->get<Formlist>();
    }
    return nullptr;
}

void Formvelmo::openPickList(ResourceKind kind)
{
    switch (kind) {
    case ResourceKind::Equipment:
        m_ctx.windows->get<Formattrlist>()->prepare(modes::PairList::GA,
                                                    QStringLiteral("Attrezzature - Elenco generale"),
                                                    QString());
        break;
    case ResourceKind::Vehicle:
        m_ctx.windows->get<Formautolist>()->prepare(modes::PairList::GA,
                                                    QStringLiteral("Automezzi - Elenco generale"),
                                                    QString());
        break;
    case ResourceKind::Association:
        m_ctx.windows->get<Formlist>()->prepare(modes::AssociationList::RA);
        break;
    }
    registers::RegisterList *list = pickList(kind);
    connect(list, &registers::RegisterList::picked, this, &Formvelmo::offerPicked,
            Qt::UniqueConnection);
    // The activity window began the pick.
    present(list, m_ctx.windows->existing<Formattivita>());
    ui::focusFirstField(list);
}

void Formvelmo::offerPicked(ResourceKind kind, const QString &line)
{
    const auto out = m_ctx.windows->get<activities::ActivitySession>()->offer(kind, line);
    for (const QString &m : out.messages) m_ctx.platform.prompts->info(m);
    if (out.done()) m_ctx.windows->get<Formris>()->showPick(pickList(kind));
}

bool Formvelmo::end()
{
    // The end of the program closes every window, this one too: what was
    // asked is not asked again.
    if (m_ending) return true;
    const QString question = m_ctx.windows->get<activities::ActivitySession>()->quitQuestion();
    if (!question.isEmpty() && !m_ctx.platform.prompts->question(question)) return false;
    discardUnregisteredActivity();
    m_ending = true;
    if (m_quit) m_quit();
    m_ending = false;
    return true;
}

void Formvelmo::newRollbackPoint()
{
    // What the activity window took or gave back and has not registered
    // stays until the user abandons it; the rollback point is then taken
    // after the undo, so that it never keeps a resource taken for nothing.
    if (!m_ctx.windows->get<activities::ActivitySession>()->unregistered().isEmpty()) return;
    // First what an earlier occasion could not undo.
    discardUnregisteredActivity();
    snapshot::takeRegisters(m_ctx);
}
