#pragma once

#include "activities/activitysession.h"
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
    activities::ActivitySession &m_session;
    QListWidget *m_list;
};
