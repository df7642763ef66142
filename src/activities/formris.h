#pragma once

#include "session/context.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

// "Risorse per una attività": the resource picked in a list, the quantity
// to engage, and the way to add it to the activity.
class Formris : public QWidget {
    Q_OBJECT
public:
    explicit Formris(Context &ctx);

    // Shows the picked line with the proposed quantity; "Nomi" only for
    // the volunteers of an association.
    void offer(const QString &line, const QString &qta, bool names);

private:
    void aggiungi();
    void nomi();

    Context &m_ctx;
    QLineEdit *m_risorsa, *m_qta;
    QPushButton *m_nomi;
};
