#pragma once

#include "session/context.h"
#include "session/resourcekind.h"
#include "registers/listlines.h"
#include "registers/registers.h"
#include "platform/platform.h"

#include <QWidget>

class LineList;
class QPushButton;

namespace registers {

// What the three register list windows share: the list `List1` in a
// fixed-pitch font, the search button `cmdcerca` beside a search field at
// the top, "Stampa" and "Esci" at the bottom, printing what the list shows
// and handing a chosen record line to the resource window.
class RegisterList : public QWidget {
    Q_OBJECT
public:
    struct Look {
        ResourceKind kind;
        qreal listPoints;        // font size of the list
        int printPoints;         // font size of the printout
        Orientation orientation; // of the printout
    };

    RegisterList(Context &ctx, const Look &look);

    LineList *list() const { return m_list; }
    const QStringList &lines() const;

signals:
    // A record line chosen in a picking mode, for the activity being edited
    // (heading, blank and total lines are never picked).
    void picked(ResourceKind kind, const QString &line);

protected:
    // Lays the window out around the search field of the derived window.
    void arrange(QWidget *searchField, int width, int height);
    void showLines(const registers::ListLines &lines);
    void clearList();

    // The line chosen at `row`, with whether it stands for a record.
    virtual void chosen(int row, const QString &line, bool record) = 0;
    virtual void activated() = 0;
    virtual void cerca() = 0;
    // F5: the list shown is read again from the archive, with the same
    // search.
    virtual void rebuild() = 0;

    // Hands a record line chosen in a picking mode to whoever picks.
    void offer(const QString &line) { emit picked(m_look.kind, line); }

    Context &m_ctx;
    LineList *m_list;
    QPushButton *m_cmdcerca;
    // How many leading columns of a line name its record: the line chosen
    // stays chosen when the archive changes on disk and the rest of it with.
    int m_keyColumns = registers::kColumn;

private:
    void stampa();

    Look m_look;
    registers::ListLines m_shown; // only its count of records is kept
};

} // namespace registers
