#include "app/formvelmo.h"

#include "activities/formattivita.h"
#include "activities/formattlist.h"
#include "activities/records.h"
#include "app/emergenzaform.h"
#include "app/formprot.h"
#include "session/maintenance.h"
#include "session/settings.h"
#include "session/snapshot.h"
#include "ui/ui.h"
#include "ui/windows.h"
#include "archive/rewrite.h"
#include "archive/text.h"
#include "associations/formass.h"
#include "associations/formlist.h"
#include "equipment/formattr.h"
#include "equipment/formattrlist.h"
#include "vehicles/formauto.h"
#include "vehicles/formautolist.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLayout>
#include "ui/linelist.h"

#include <QLabel>
#include <utility>
#include <QMenuBar>

Formvelmo::Formvelmo(Context &ctx) : QMainWindow(nullptr), m_ctx(ctx)
{
    setObjectName(QStringLiteral("Formvelmo"));
    setWindowTitle(QStringLiteral("Gestione Attività di Protezione Civile"));
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
    QLabel *label2 = ui::label(client, "Label2", QStringLiteral("Attività iniziate ma non ancora chiuse"),
                               24, 304, 281, 25, true);
    m_iniziate = ui::field(client, "iniziate", 312, 304, 41, 19);
    // Where the screen font is wider than the label, the label grows and its
    // count box moves along, so the caption is never cut.
    for (auto [label, count] : {std::pair<QLabel *, QLineEdit *>{label1, m_richieste}, {label2, m_iniziate}}) {
        const int needed = label->sizeHint().width();
        if (needed <= label->width()) continue;
        label->resize(needed, label->height());
        count->move(label->x() + needed + 7, count->y());
    }
    m_iniziate->setReadOnly(true);
    m_list2 = ui::make<LineList>(client, "List2", 24, 328, 737, 173);
    for (LineList *list : {m_list1, m_list2})
        connect(list, &LineList::lineChosen, this, [this, list](int row) { lineClicked(list->text(row)); });

    buildMenus();
    if (m_ctx.consultation) consultationOnly();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Load: the paths are fixed already (Context), the emergency name is
    // read, the lists are filled.
    m_ctx.g.nomeemergenza = settings::readEmergency(m_ctx.path(archive::File::Emergenza));
    caricaliste();
    onActivation(ctx, this, [this] { activated(); });
}

QMenu *Formvelmo::menu(QMenu *parent, const char *name, const QString &caption)
{
    QMenu *m = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
    m->setObjectName(QString::fromLatin1(name));
    m->menuAction()->setObjectName(QString::fromLatin1(name));
    return m;
}

QAction *Formvelmo::entry(QMenu *parent, const char *name, const QString &caption)
{
    QAction *a = parent ? parent->addAction(caption) : menuBar()->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    const MenuEntry *e = menuEntry(a->objectName());
    if (!e) qFatal("menu entry %s missing from the menu table", name);
    connect(a, &QAction::triggered, this, [this, e] { choose(*e); });
    return a;
}

void Formvelmo::choose(const MenuEntry &e)
{
    if (e.snapshotFirst) newRollbackPoint();
    e.run(*this, m_ctx, e);
}

void Formvelmo::buildMenus()
{
    QMenu *ass = menu(nullptr, "mnass", QStringLiteral("Associazioni"));
    QMenu *assv = menu(ass, "mnassv", QStringLiteral("Visualizza"));
    entry(assv, "mnassvel", QStringLiteral("Elenco Associazioni"));
    QMenu *assa = menu(ass, "mnassa", QStringLiteral("Aggiorna"));
    entry(assa, "mnassains", QStringLiteral("Inserimento"));
    entry(assa, "mnassamod", QStringLiteral("Modifica"));
    entry(assa, "mnassaann", QStringLiteral("Annullamento"));

    QMenu *aut = menu(nullptr, "mnaut", QStringLiteral("Automezzi"));
    QMenu *autv = menu(aut, "mnautv", QStringLiteral("Visualizza"));
    entry(autv, "mnautvelg", QStringLiteral("Elenco generale Automezzi"));
    entry(autv, "mnautvass", QStringLiteral("Elenco Automezzi di una Associazione"));
    entry(autv, "mnautvric", QStringLiteral("Ricerca Automezzi"));
    QMenu *auta = menu(aut, "mnauta", QStringLiteral("Aggiorna"));
    entry(auta, "mnautains", QStringLiteral("Inserimento"));
    entry(auta, "mnautamod", QStringLiteral("Modifica"));
    entry(auta, "mnautaann", QStringLiteral("Annullamento"));

    QMenu *atr = menu(nullptr, "mnatr", QStringLiteral("Attrezzature"));
    QMenu *atrv = menu(atr, "mnatrv", QStringLiteral("Visualizza"));
    entry(atrv, "mnatrvelg", QStringLiteral("Elenco generale Attrezzature"));
    entry(atrv, "mnatrvass", QStringLiteral("Elenco Attrezzature di una Associazione"));
    entry(atrv, "mnatrvric", QStringLiteral("Ricerca Attrezzature"));
    QMenu *atra = menu(atr, "mnatra", QStringLiteral("Aggiorna"));
    entry(atra, "mnatrains", QStringLiteral("Inserimento"));
    entry(atra, "mnatramod", QStringLiteral("Modifica"));
    entry(atra, "mnatraann", QStringLiteral("Annullamento"));

    QMenu *att = menu(nullptr, "mnatt", QStringLiteral("Attività"));
    QMenu *attv = menu(att, "mnattv", QStringLiteral("Visualizza"));
    entry(attv, "mnattvgen", QStringLiteral("Elenco cronologico delle Attività"));
    entry(attv, "mnattvchi", QStringLiteral("Attività chiuse"));
    entry(attv, "mnattvann", QStringLiteral("Attività Annullate"));
    QMenu *atta = menu(att, "mnatta", QStringLiteral("Aggiorna"));
    entry(atta, "mnattains", QStringLiteral("Inizio Attività"));
    entry(atta, "mnattamod", QStringLiteral("Fine/Modifica Attività"));
    entry(atta, "mnattaann", QStringLiteral("Annullamento Attività"));

    entry(nullptr, "mnemergenza", QStringLiteral("Emergenza"));

    QMenu *salva = menu(nullptr, "mnsalva", QStringLiteral("Salva"));
    entry(salva, "mnsalvaarc", QStringLiteral("Salva Archivi"));

    QMenu *rip = menu(nullptr, "mnrip", QStringLiteral("Ripristina"));
    entry(rip, "mnriparc", QStringLiteral("Ripristina Archivi"));
    entry(rip, "mnripazze", QStringLiteral("Azzeramento Archivi"));
    entry(rip, "mnrippro", QStringLiteral("Modifica numero protocollo"));

    entry(nullptr, "mnfine", QStringLiteral("Fine"));
    entry(nullptr, "mnhelp", QStringLiteral("?"));
}

void Formvelmo::consultationOnly()
{
    setWindowTitle(windowTitle() + QStringLiteral(" - sola consultazione"));
    // Every entry that changes an archive; lists, searches, printouts and
    // Salva Archivi (which writes elsewhere) stay.
    for (const char *name : {"mnassa", "mnassains", "mnassamod", "mnassaann",
                             "mnauta", "mnautains", "mnautamod", "mnautaann",
                             "mnatra", "mnatrains", "mnatramod", "mnatraann",
                             "mnatta", "mnattains", "mnattamod", "mnattaann",
                             "mnemergenza", "mnrip", "mnriparc", "mnripazze", "mnrippro"})
        action(QString::fromLatin1(name))->setEnabled(false);
}

QAction *Formvelmo::action(const QString &name) const
{
    for (QAction *a : findChildren<QAction *>())
        if (a->objectName() == name) return a;
    return nullptr;
}

void Formvelmo::activated()
{
    if (m_firstActivation == QLatin1String("0")) {
        m_firstActivation = QStringLiteral("1");
        // The emergency name is changed only by the copy that writes.
        if (!m_ctx.consultation) present(m_ctx.windows->get<emergenzaform>());
    }
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
                             const QString line =
                                 text::alignRight(QString::number(r.number(activities::NumProt)), 6)
                                 + QLatin1Char(' ') + r.at(activities::DataRi) + QLatin1Char(' ')
                                 + r.at(activities::OraRi) + QLatin1Char(' ')
                                 + r.at(activities::Loc) + QLatin1Char(' ')
                                 + r.at(activities::TipoAtt);
                             (r.at(activities::OraIn).isEmpty() ? waiting : started) << line;
                             return true;
                         });
    m_list1->setLines(waiting);
    m_list2->setLines(started);
    if (!waiting.isEmpty()) m_richieste->setText(QString::number(waiting.size()));
    if (!started.isEmpty()) m_iniziate->setText(QString::number(started.size()));
}

void Formvelmo::lineClicked(const QString &line)
{
    // In consultation the activity window shows the activity and changes
    // nothing: there is no rollback point to take.
    if (!m_ctx.consultation) newRollbackPoint();
    QString prot = line.left(6);
    while (prot.startsWith(QLatin1Char(' '))) prot.remove(0, 1);
    m_ctx.g.protsel = prot;
    m_ctx.g.modoatt = modes::Activity::M;
    auto *activity = m_ctx.windows->get<Formattivita>();
    activity->prepare(QStringLiteral("Attività - Modifica"), QStringLiteral("Modifica"), false);
    present(activity);
}

void Formvelmo::closeEvent(QCloseEvent *event)
{
    event->accept();
    end();
}

void Formvelmo::discardUnregisteredActivity()
{
    // Nothing stays taken from the registers for an activity never registered.
    if (auto *activity = m_ctx.windows->existing<Formattivita>())
        activity->discardUnregistered();
}

void Formvelmo::end()
{
    discardUnregisteredActivity();
    if (m_quit) m_quit();
}

void Formvelmo::newRollbackPoint()
{
    // First, so that the new rollback point never keeps a resource taken for
    // nothing.
    discardUnregisteredActivity();
    snapshot::takeRegisters(m_ctx);
}
