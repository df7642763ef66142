#include "registers/pairlist.h"

#include "ui/linelist.h"
#include "registers/widgets.h"

#include <QPushButton>

using archive::File;
using registers::PairFilter;

namespace registers {

PairList::PairList(Context &ctx, const Register &reg, ResourceKind kind, const QString &title)
    : RegisterList(ctx, {kind, 8.25, 8, Orientation::Landscape}), m_reg(reg)
{
    setWindowTitle(title);
    m_keyColumns = 2 * registers::kColumn; // the association and the description
    m_cmbcerca = editableList(this, "cmbcerca", 0, 0, 320, 24);
    m_cmdcerca->setText(QStringLiteral("Cerca associazione"));
    m_cmdcerca->setMinimumWidth(140);
    arrange(m_cmbcerca, 860, 600);
    m_list->setHeadings(m_reg.headings(), registers::stateLetters());
    connect(m_cmbcerca, &ChoiceList::chosen, this, &PairList::associationChosen);
}

void PairList::prepare(modes::PairList mode, const QString &title, const QString &searchCaption)
{
    m_ctx.g.*m_reg.mode = mode;
    setWindowTitle(title);
    m_list->setToolTip(QString());
    const bool search = !searchCaption.isEmpty();
    if (search) m_cmdcerca->setText(searchCaption);
    m_cmdcerca->setVisible(search);
    m_cmbcerca->setVisible(search);
}

void PairList::fillWith(PairFilter filter, const QString &text)
{
    BusyGuard busy(*m_ctx.platform.busy);
    clearList();
    showLines(m_reg.lines(m_ctx.path(m_reg.archive), m_ctx.g.nomeemergenza, filter, text));
    m_shown = std::pair{filter, text};
}

void PairList::rebuild()
{
    if (m_shown) fillWith(m_shown->first, m_shown->second);
}

void PairList::activated()
{
    if (mode() == modes::PairList::A) {
        m_cmbcerca->setFocus();
        clearList();
        m_shown.reset();
        refill(m_cmbcerca, m_reg.associationNames(m_ctx.path(File::Associazioni), {}, true));
    } else if (mode() == modes::PairList::R) {
        m_cmbcerca->setFocus();
        clearList();
        m_shown.reset();
        empty(m_cmbcerca);
    } else {
        fillWith(PairFilter::All, {});
    }
}

void PairList::cerca()
{
    const QString typed = m_cmbcerca->currentText();
    if (mode() == modes::PairList::A) {
        // Narrows the association choice; the list stays as it was.
        refill(m_cmbcerca, m_reg.associationNames(m_ctx.path(File::Associazioni), typed,
                                                  m_reg.emptySearchFindsEmptyNames));
    } else if (mode() == modes::PairList::R) {
        fillWith(PairFilter::Description, typed);
    }
}

void PairList::associationChosen()
{
    fillWith(PairFilter::OfAssociation, m_cmbcerca->currentText());
}

void PairList::chosen(int, const QString &line, bool record)
{
    // Only picking for an activity uses a line, and only a record's line.
    if (mode() == modes::PairList::GA && record) offer(line);
}

} // namespace registers
