#pragma once

#include "registers/registerlist.h"

#include <optional>
#include <utility>

namespace registers {

class ChoiceList;

// The vehicle and equipment lists, which work alike: the general list (G,
// and GA when an activity picks a resource), the records of one association
// chosen in `cmbcerca` (A), and a search by description (R).
class PairList : public RegisterList {
    Q_OBJECT
public:
    struct Register {
        archive::File archive;
        modes::PairList Globals::*mode;
        // The lines of the archive at `path` for a filter and its text.
        registers::ListLines (*lines)(const QString &path, const QString &emergencyName,
                                      registers::PairFilter filter, const QString &text);
        bool emptySearchFindsEmptyNames; // an empty "Cerca associazione" text
        // The association names containing a text (all of them for an
        // empty text, the empty names too when asked), for `cmbcerca`.
        QStringList (*associationNames)(const QString &path, const QString &text, bool emptyToo);
        QString (*headings)(); // the column headings above the lines
    };

    PairList(Context &ctx, const Register &reg, ResourceKind kind, const QString &title);

    // What a menu entry or the activity window sets before showing the
    // window: the mode, the title, an empty tooltip on the list, and the
    // search controls, shown with the button's caption or hidden when it is
    // empty.
    void prepare(modes::PairList mode, const QString &title, const QString &searchCaption);

private:
    void activated() override;
    void cerca() override;
    void rebuild() override;
    void chosen(int row, const QString &line, bool record) override;
    void associationChosen();
    void fillWith(registers::PairFilter filter, const QString &text);
    modes::PairList mode() const { return m_ctx.g.*m_reg.mode; }

    Register m_reg;
    ChoiceList *m_cmbcerca;
    // How the list shown was filled; none while it is empty.
    std::optional<std::pair<registers::PairFilter, QString>> m_shown;
};

} // namespace registers
