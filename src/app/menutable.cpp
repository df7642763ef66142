#include "app/menutable.h"

#include "activities/formattivita.h"
#include "activities/formattlist.h"
#include "app/emergenzaform.h"
#include "app/formprot.h"
#include "app/formvelmo.h"
#include "session/maintenance.h"
#include "ui/windows.h"
#include "associations/formass.h"
#include "reports/formdiario.h"
#include "reports/formnota.h"
#include "reports/formrapimpiego.h"
#include "reports/formrappresenze.h"
#include "reports/formrapquadro.h"
#include "associations/formlist.h"
#include "equipment/formattr.h"
#include "equipment/formattrlist.h"
#include "vehicles/formauto.h"
#include "vehicles/formautolist.h"

namespace {

// A registry window, or a vehicle or equipment list: mode, title, caption.
template <class W, class Mode> void open(Formvelmo &main, Context &ctx, const MenuEntry &e)
{
    W *w = ctx.windows->get<W>();
    w->prepare(std::get<Mode>(e.mode), e.title, e.caption);
    present(w, &main);
}

void associationList(Formvelmo &main, Context &ctx, const MenuEntry &e)
{
    auto *w = ctx.windows->get<Formlist>();
    w->prepare(std::get<modes::AssociationList>(e.mode));
    present(w, &main);
}

void activityList(Formvelmo &main, Context &ctx, const MenuEntry &e)
{
    auto *w = ctx.windows->get<Formattlist>();
    w->prepare(std::get<modes::ActivityList>(e.mode), e.title);
    present(w, &main);
}

// A new activity; over work not registered only if the user abandons it
// (otherwise the window comes to the front as it is).
void activity(Formvelmo &main, Context &ctx, const MenuEntry &e)
{
    auto *w = ctx.windows->get<Formattivita>();
    if (w->startTask(std::get<modes::Activity>(e.mode), QString(), false))
        w->prepare(e.title, e.caption, true);
    w->showTask(&main);
}

// The list to choose the activity from, with the activity window made
// ready to cancel it; over work not registered only if the user abandons
// it (otherwise the activity window comes to the front as it is).
void cancellation(Formvelmo &main, Context &ctx, const MenuEntry &e)
{
    auto *w = ctx.windows->get<Formattivita>();
    if (!w->startTask(modes::Activity::A, ctx.g.protsel, false)) {
        present(w, &main);
        return;
    }
    w->prepare(QStringLiteral("Attività - Annullamento"), QStringLiteral("Annulla"), true);
    activityList(main, ctx, e);
}

template <class W> void show(Formvelmo &main, Context &ctx, const MenuEntry &)
{
    present(ctx.windows->get<W>(), &main);
}

// An operator's note for the room's diary, from wherever the operator is.
void note(Formvelmo &main, Context &ctx, const MenuEntry &)
{
    auto *w = ctx.windows->get<Formnota>();
    w->start();
    present(w, &main);
}

void save(Formvelmo &, Context &ctx, const MenuEntry &) { maintenance::save(ctx); }

// Registers replaced under the activity the activity window shows would
// let its lines give back, or take, what the new registers never lent: a
// restore or a reset waits until the window is left.
bool activityShown(Context &ctx, const QString &sequence)
{
    auto *activity = ctx.windows->existing<Formattivita>();
    if (!activity || !activity->isVisible()) return false;
    ctx.platform.prompts->info(QStringLiteral("%1 non eseguito: la finestra Attività è aperta. "
                                              "Registrare l'attività o uscirne con \"Esci\", poi "
                                              "ripetere.")
                                   .arg(sequence));
    return true;
}

// After a restore or a reset the lists show the archives as they are now,
// not the counts of the archives that were replaced.
void restore(Formvelmo &main, Context &ctx, const MenuEntry &)
{
    if (activityShown(ctx, QStringLiteral("Ripristino"))) return;
    maintenance::restore(ctx);
    main.caricaliste();
}

void reset(Formvelmo &main, Context &ctx, const MenuEntry &)
{
    if (activityShown(ctx, QStringLiteral("Azzeramento"))) return;
    maintenance::reset(ctx);
    main.caricaliste();
}

void quit(Formvelmo &main, Context &, const MenuEntry &) { main.end(); }

void help(Formvelmo &, Context &ctx, const MenuEntry &)
{
    ctx.platform.help->showKeywordIndex(QStringLiteral("velmora.hlp"));
}

} // namespace

const std::vector<MenuEntry> &menuTable()
{
    using modes::Registry, modes::PairList, modes::ActivityList;
    const MenuEntry::Mode kNone;
    const auto ass = open<Formass, Registry>, aut = open<Formauto, Registry>,
               atr = open<Formattr, Registry>, autList = open<Formautolist, PairList>,
               atrList = open<Formattrlist, PairList>;
    static const std::vector<MenuEntry> table = {
        {"mnassv", "mnassvel", "&Elenco Associazioni", "Formlist", modes::AssociationList::IA, "",
         "", false, false, associationList},
        {"mnassa", "mnassains", "&Inserimento", "Formass", Registry::I,
         "Associazioni - Inserimento", "Registra", false, true, ass},
        {"mnassa", "mnassamod", "&Modifica", "Formass", Registry::M, "Associazioni - Modifica",
         "Modifica", false, true, ass},
        {"mnassa", "mnassaann", "&Annullamento", "Formass", Registry::A,
         "Associazioni - Cancellazione", "Elimina", false, true, ass},

        {"mnautv", "mnautvelg", "&Elenco generale Automezzi", "Formautolist", PairList::G,
         "Automezzi - Elenco generale", "", false, false, autList},
        {"mnautv", "mnautvass", "Elenco Automezzi di una &Associazione", "Formautolist", PairList::A,
         "Automezzi - di una associazione", "Cerca associazione", false, false, autList},
        {"mnautv", "mnautvric", "&Ricerca Automezzi", "Formautolist", PairList::R,
         "Automezzi - Ricerca automezzo", "Cerca automezzo", false, false, autList},
        {"mnauta", "mnautains", "&Inserimento", "Formauto", Registry::I, "Automezzi - Inserimento",
         "Registra", false, true, aut},
        {"mnauta", "mnautamod", "&Modifica", "Formauto", Registry::M, "Automezzi - Modifica",
         "Modifica", false, true, aut},
        {"mnauta", "mnautaann", "&Annullamento", "Formauto", Registry::A, "Automezzi - Elimina",
         "Elimina", false, true, aut},

        {"mnatrv", "mnatrvelg", "&Elenco generale Attrezzature", "Formattrlist", PairList::G,
         "Attrezzature - Elenco generale", "", false, false, atrList},
        {"mnatrv", "mnatrvass", "Elenco Attrezzature di una &Associazione", "Formattrlist",
         PairList::A, "Attrezzature - di una associazione", "Cerca associazione", false, false,
         atrList},
        {"mnatrv", "mnatrvric", "&Ricerca Attrezzature", "Formattrlist", PairList::R,
         "Attrezzature - Ricerca attrezzatura", "Cerca attrezzatura", false, false, atrList},
        {"mnatra", "mnatrains", "&Inserimento", "Formattr", Registry::I,
         "Attrezzature - Inserimento", "Registra", false, true, atr},
        {"mnatra", "mnatramod", "&Modifica", "Formattr", Registry::M, "Attrezzature - Modifica",
         "Modifica", false, true, atr},
        {"mnatra", "mnatraann", "&Annullamento", "Formattr", Registry::A, "Attrezzature - Elimina",
         "Elimina", false, true, atr},

        {"mnattv", "mnattvgen", "&Elenco cronologico delle Attività", "Formattlist",
         ActivityList::G, "Attività - Elenco cronologico", "", false, false, activityList},
        {"mnattv", "mnattvchi", "Attività &chiuse", "Formattlist", ActivityList::V,
         "Attività - Attività chiuse", "", false, false, activityList},
        {"mnattv", "mnattvann", "Attività A&nnullate", "Formattlist", ActivityList::Z,
         "Attività - Attività annullate", "", false, false, activityList},
        {"mnatta", "mnattains", "&Inizio Attività", "Formattivita", modes::Activity::I,
         "Attività - Inserimento", "Registra", true, true, activity},
        {"mnatta", "mnattamod", "&Fine/Modifica Attività", "Formattlist", ActivityList::M,
         "Attività - Scelta dell'attività da modificare", "", true, true, activityList},
        {"mnatta", "mnattaann", "&Annullamento Attività", "Formattlist", ActivityList::A,
         "Attività - Scelta dell'attività da annullare", "", true, true, cancellation},

        // The reports only read the archives: they stay when the folder is
        // only consulted.
        {"mnrap", "mnrapquadro", "&Quadro della situazione", "Formrapquadro", kNone, "", "", false,
         false, show<Formrapquadro>},
        {"mnrap", "mnrapimpiego", "&Impiego per associazione", "Formrapimpiego", kNone, "", "",
         false, false, show<Formrapimpiego>},
        {"mnrap", "mnrappresenze", "&Presenze dei volontari", "Formrappresenze", kNone, "", "",
         false, false, show<Formrappresenze>},
        {"mnrap", "mnrapdiario", "&Diario di sala", "Formdiario", kNone, "", "", false, false,
         show<Formdiario>},
        {"mnrap", "mnrapnota", "&Nota nel diario", "Formnota", kNone, "", "", false, true, note},

        {"", "mnemergenza", "&Emergenza", "emergenzaform", kNone, "", "", false, true,
         show<emergenzaform>},
        {"mnsalva", "mnsalvaarc", "&Salva Archivi", "", kNone, "", "", false, false, save},
        {"mnrip", "mnriparc", "&Ripristina Archivi", "", kNone, "", "", false, true, restore},
        {"mnrip", "mnripazze", "&Azzeramento Archivi", "", kNone, "", "", false, true, reset},
        {"mnrip", "mnrippro", "&Modifica numero protocollo", "Formprot", kNone, "", "", false, true,
         show<Formprot>},
        {"", "mnfine", "&Fine", "", kNone, "", "", false, false, quit},
        {"", "mnhelp", "&?", "", kNone, "", "", false, false, help},
    };
    return table;
}

const std::vector<MenuFolder> &menuFolders()
{
    static const std::vector<MenuFolder> folders = {
        {"mnass", "", "&Associazioni", false},     {"mnassv", "mnass", "&Visualizza", false},
        {"mnassa", "mnass", "&Aggiorna", true},    {"mnaut", "", "Auto&mezzi", false},
        {"mnautv", "mnaut", "&Visualizza", false}, {"mnauta", "mnaut", "&Aggiorna", true},
        {"mnatr", "", "Attre&zzature", false},     {"mnatrv", "mnatr", "&Visualizza", false},
        {"mnatra", "mnatr", "&Aggiorna", true},    {"mnatt", "", "A&ttività", false},
        {"mnattv", "mnatt", "&Visualizza", false}, {"mnatta", "mnatt", "&Aggiorna", true},
        {"mnrap", "", "&Rapporti", false},         {"mnsalva", "", "&Salva", false},
        {"mnrip", "", "R&ipristina", true},
    };
    return folders;
}

const std::vector<MenuShortcut> &menuShortcuts()
{
    static const std::vector<MenuShortcut> keys = {
        {"mnattains", QKeyCombination(Qt::CTRL, Qt::Key_N)},
        {"mnhelp", QKeyCombination(Qt::Key_F1)},
        {"mnrapnota", QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_N)},
    };
    return keys;
}

const MenuEntry *menuEntry(const QString &name)
{
    for (const MenuEntry &e : menuTable())
        if (name == QLatin1String(e.name)) return &e;
    return nullptr;
}
