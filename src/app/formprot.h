#pragma once

#include "session/context.h"

#include <QWidget>

class QLineEdit;

// Shows and replaces the last protocol number assigned.
class Formprot : public QWidget {
    Q_OBJECT
public:
    explicit Formprot(Context &ctx);

protected:
    // Left without "Modifica", what was typed is dropped: the window opens
    // again on the counter.
    void hideEvent(QHideEvent *event) override;

private:
    void load();
    void store();

    Context &m_ctx;
    QLineEdit *m_numprot;
    QString m_shown; // the number as last read or stored, to tell a typed one
};
