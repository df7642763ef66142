#include "associations/formlist.h"

#include "ui/keys.h"
#include "ui/windows.h"
#include "archive/text.h"
#include "associations/formass.h"
#include "associations/listlines.h"

#include <QLineEdit>
#include <QPushButton>

#include "ui/linelist.h"

using archive::File;

Formlist::Formlist(Context &ctx)
    : RegisterList(ctx, {ResourceKind::Association, 9.75, 12, Orientation::Portrait})
{
    setObjectName(QStringLiteral("Formlist"));
    setWindowTitle(QStringLiteral("Elenco Associazioni"));
    m_cerca = new QLineEdit(this);
    m_cerca->setObjectName(QStringLiteral("cerca"));
    m_cerca->setToolTip(
        QStringLiteral("Inserire alcuni caratteri presenti nella denominazione dell'associazione."));
    arrange(m_cerca, 640, 560);
    // The arrow down from the search box goes to the list.
    ui::WindowKeys::of(this)->onKeys(m_cerca, {Qt::Key_Down}, [this] { m_list->setFocus(); });
    m_list->setHeadings(associations::columnHeadings());
}

void Formlist::prepare(modes::AssociationList mode)
{
    m_ctx.g.modoasslist = mode;
    m_list->setToolTip(
        mode == modes::AssociationList::RA
            ? QStringLiteral("Cliccare l'associazione per scegliere il numero di volontari.")
            : QStringLiteral("Cliccare l'associazione per visualizzare i suoi dati."));
}

void Formlist::fill(const std::optional<QString> &search)
{
    m_search = search;
    BusyGuard busy(*m_ctx.platform.busy);
    clearList();
    setWindowTitle(QStringLiteral("Elenco Associazioni"));
    const bool total = m_ctx.g.modoasslist == modes::AssociationList::IA;
    showLines(associations::listLines(m_ctx.path(File::Associazioni), m_ctx.g.nomeemergenza, search,
                                      total));
}

void Formlist::activated() { fill(std::nullopt); }

void Formlist::cerca() { fill(m_cerca->text()); }

void Formlist::rebuild() { fill(m_search); }

void Formlist::chosen(int, const QString &line, bool record)
{
    const modes::AssociationList mode = m_ctx.g.modoasslist;
    if (mode == modes::AssociationList::IA) {
        // Viewing: any line opens the association window, which shows the
        // association whose name fills the first 50 columns (if any).
        QString name = line.left(registers::kColumn);
        while (name.endsWith(QLatin1Char(' '))) name.chop(1);
        auto *ass = m_ctx.windows->get<Formass>();
        // Over data typed and not registered only if the user abandons them.
        if (ass->prepare(modes::Registry::L, QStringLiteral("Associazioni "), QString())) {
            m_ctx.g.nomecaricato = name;
            ass->setSelectedLine(line);
        }
        present(ass, this);
        ui::focusFirstField(ass);
    } else if (mode == modes::AssociationList::RA) {
        // Only an association can give volunteers: the heading and the
        // line of blanks are no choice.
        if (!record) return;
        m_ctx.g.nomecaricato = line;
        offer(line);
    }
}
