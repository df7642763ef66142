#pragma once

#include "session/context.h"

#include <QWidget>
#include <functional>

class QLineEdit;
class LineList;

// The activity list: the chronological list with resources, the closed and
// the cancelled activities, and the pick lists for modifying or cancelling
// an activity; searched by type and printed.
class Formattlist : public QWidget {
    Q_OBJECT
public:
    explicit Formattlist(Context &ctx);

    // What a menu entry sets before showing the window: the mode and the
    // title that goes with it.
    void prepare(modes::ActivityList mode, const QString &title);

private:
    void activated();
    void cerca();
    void chosen(const QString &line);
    void stampa();
    // The lines, and the column headings that go with them.
    void setLines(const QStringList &lines, const QString &headings);
    // Shows what `source` reads, under `headings`; F5 reads it again.
    void showFrom(std::function<QStringList()> source, const QString &headings);

    Context &m_ctx;
    QLineEdit *m_cerca;
    LineList *m_list;
    std::function<QStringList()> m_source; // what the list shows
};
