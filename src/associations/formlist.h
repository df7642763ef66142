#pragma once

#include "registers/registerlist.h"

#include <optional>

class QLineEdit;

// The association list: every association with its volunteers and, opened
// from the menu (IA), their total; searched by name and printed. A chosen
// line opens the association for viewing (IA) or hands it to the resource
// window, which takes volunteers from it (RA).
class Formlist : public registers::RegisterList {
    Q_OBJECT
public:
    explicit Formlist(Context &ctx);

    // What the caller sets before showing the window: the mode, with the
    // hint on the list that says what a click does in it.
    void prepare(modes::AssociationList mode);

private:
    void activated() override;
    void cerca() override;
    void rebuild() override;
    void chosen(int row, const QString &line, bool record) override;
    void fill(const std::optional<QString> &search);

    QLineEdit *m_cerca;
    std::optional<QString> m_search; // the search the list shows; none: all
};
