#pragma once

#include "session/context.h"

#include <QWidget>

class QListWidget;

// The volunteers of the association picked for an activity, from
// volontari.csv: the ticked ones are added to the activity by name.
class Formsto : public QWidget {
    Q_OBJECT
public:
    explicit Formsto(Context &ctx);

private:
    void activated();
    void inserisci();

    Context &m_ctx;
    QListWidget *m_list;
};
