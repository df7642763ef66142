#pragma once

#include "activities/activitysession.h"
#include "session/context.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

// "Risorse per una attività": the resource picked for the activity being
// edited, the quantity to engage, and the way to add it.
class Formris : public QWidget {
    Q_OBJECT
public:
    explicit Formris(Context &ctx);

    // Shows the pick with one to engage (or what is available, when less),
    // selected so that typing replaces it, beside the list it was chosen in;
    // "Nomi" only for the volunteers of an association.
    void showPick(const QWidget *list);

private:
    void aggiungi();
    void nomi();

    Context &m_ctx;
    activities::ActivitySession &m_session;
    QLineEdit *m_risorsa, *m_qta;
    QPushButton *m_nomi;
};
