#include "app/menutable.h"

#include "activities/formattivita.h"
#include "activities/formattlist.h"
#include "app/emergenzaform.h"
#include "app/formprot.h"
#include "app/formvelmo.h"
#include "session/maintenance.h"
#include "ui/windows.h"
#include "associations/formass.h"
#include "associations/formlist.h"
#include "equipment/formattr.h"
#include "equipment/formattrlist.h"
#include "vehicles/formauto.h"
#include "vehicles/formautolist.h"

namespace {

// A registry window, or a vehicle or equipment list: mode, title, caption.
template <class W, class Mode> void open(Formvelmo &, Context &ctx, const MenuEntry &e)
{
    W *w = ctx.windows->get<W>();
    w->prepare(std::get<Mode>(e.mode), e.title, e.caption);
    present(w);
}

void associationList(Formvelmo &, Context &ctx, const MenuEntry &e)
{
    auto *w = ctx.windows->get<Formlist>();
    w->prepare(std::get<modes::AssociationList>(e.mode));
    present(w);
}

void activityList(Formvelmo &, Context &ctx, const MenuEntry &e)
{
    auto *w = ctx.windows->get<Formattlist>();
    w->prepare(std::get<modes::ActivityList>(e.mode), e.title);
    present(w);
}

void activity(Formvelmo &, Context &ctx, const MenuEntry &e)
{
    auto *w = ctx.windows->get<Formattivita>();
    w->prepare(e.title, e.caption, true);
    ctx.g.modoatt = std::get<modes::Activity>(e.mode);
    present(w);
}

// The list to choose the activity from, with the activity window made
// ready to cancel it.
void cancellation(Formvelmo &main, Context &ctx, const MenuEntry &e)
{
    ctx.windows->get<Formattivita>()->prepare(QStringLiteral("Attività - Annullamento"),
                                              QStringLiteral("Annulla"), true);
    ctx.g.modoatt = modes::Activity::A;
    activityList(main, ctx, e);
}

template <class W> void show(Formvelmo &, Context &ctx, const MenuEntry &)
{
    present(ctx.windows->get<W>());
}

void save(Formvelmo &, Context &ctx, const MenuEntry &) { maintenance::save(ctx); }

// After a restore or a reset the lists show the archives as they are now,
// not the counts of the archives that were replaced.
void restore(Formvelmo &main, Context &ctx, const MenuEntry &)
{
    maintenance::restore(ctx);
    main.caricaliste();
}

void reset(Formvelmo &main, Context &ctx, const MenuEntry &)
{
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
    const auto ass = open<Formass, Registry>, aut = open<Formauto, Registry>,
               atr = open<Formattr, Registry>, autList = open<Formautolist, PairList>,
               atrList = open<Formattrlist, PairList>;
    static const std::vector<MenuEntry> table = {
        {"mnassvel", "Formlist", modes::AssociationList::IA, {}, {}, false, associationList},
        {"mnassains", "Formass", Registry::I, "Associazioni - Inserimento", "Registra", false, ass},
        {"mnassamod", "Formass", Registry::M, "Associazioni - Modifica", "Modifica", false, ass},
        {"mnassaann", "Formass", Registry::A, "Associazioni - Cancellazione", "Elimina", false, ass},

        {"mnautvelg", "Formautolist", PairList::G, "Automezzi - Elenco generale", {}, false, autList},
        {"mnautvass", "Formautolist", PairList::A, "Automezzi - di una associazione",
         "Cerca associazione", false, autList},
        {"mnautvric", "Formautolist", PairList::R, "Automezzi - Ricerca automezzo",
         "Cerca automezzo", false, autList},
        {"mnautains", "Formauto", Registry::I, "Automezzi - Inserimento", "Registra", false, aut},
        {"mnautamod", "Formauto", Registry::M, "Automezzi - Modifica", "Modifica", false, aut},
        {"mnautaann", "Formauto", Registry::A, "Automezzi - Elimina", "Elimina", false, aut},

        {"mnatrvelg", "Formattrlist", PairList::G, "Attrezzature - Elenco generale", {}, false,
         atrList},
        {"mnatrvass", "Formattrlist", PairList::A, "Attrezzature - di una associazione",
         "Cerca associazione", false, atrList},
        {"mnatrvric", "Formattrlist", PairList::R, "Attrezzature - Ricerca attrezzatura",
         "Cerca attrezzatura", false, atrList},
        {"mnatrains", "Formattr", Registry::I, "Attrezzature - Inserimento", "Registra", false, atr},
        {"mnatramod", "Formattr", Registry::M, "Attrezzature - Modifica", "Modifica", false, atr},
        {"mnatraann", "Formattr", Registry::A, "Attrezzature - Elimina", "Elimina", false, atr},

        {"mnattvgen", "Formattlist", ActivityList::G, "Attività - Elenco cronologico", {}, false,
         activityList},
        {"mnattvchi", "Formattlist", ActivityList::V, "Attività - Attività chiuse", {}, false,
         activityList},
        {"mnattvann", "Formattlist", ActivityList::Z, "Attività - Attività annullate", {}, false,
         activityList},
        {"mnattains", "Formattivita", modes::Activity::I, "Attività - Inserimento", "Registra",
         true, activity},
        {"mnattamod", "Formattlist", ActivityList::M,
         "Attività - Scelta dell'attività da modificare", {}, true, activityList},
        {"mnattaann", "Formattlist", ActivityList::A,
         "Attività - Scelta dell'attività da annullare", {}, true, cancellation},

        {"mnemergenza", "emergenzaform", {}, {}, {}, false, show<emergenzaform>},
        {"mnsalvaarc", "", {}, {}, {}, false, save},
        {"mnriparc", "", {}, {}, {}, false, restore},
        {"mnripazze", "", {}, {}, {}, false, reset},
        {"mnrippro", "Formprot", {}, {}, {}, false, show<Formprot>},
        {"mnfine", "", {}, {}, {}, false, quit},
        {"mnhelp", "", {}, {}, {}, false, help},
    };
    return table;
}

const MenuEntry *menuEntry(const QString &name)
{
    for (const MenuEntry &e : menuTable())
        if (name == QLatin1String(e.name)) return &e;
    return nullptr;
}
