#pragma once

#include "session/context.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

// Where the office types the name of the emergency it is working on; the
// lists and printouts carry it on their title line.
class emergenzaform : public QWidget {
    Q_OBJECT
public:
    explicit emergenzaform(Context &ctx);

protected:
    // Closed without "OK", what was typed is dropped: the window opens again
    // on the name in use.
    void hideEvent(QHideEvent *event) override;

private:
    void confirm();

    Context &m_ctx;
    QLineEdit *m_name;
    QPushButton *m_ok;
    QString m_shown; // the name as last shown or confirmed, to tell a typed one
};
