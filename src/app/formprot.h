#pragma once

#include "session/context.h"

#include <QWidget>

class QLineEdit;

// Shows and replaces the last protocol number assigned.
class Formprot : public QWidget {
    Q_OBJECT
public:
    explicit Formprot(Context &ctx);

private:
    void load();
    void store();

    Context &m_ctx;
    QLineEdit *m_numprot;
};
