#pragma once

#include "session/context.h"

#include <QWidget>

class QLineEdit;

// "Diario di sala - Nuova nota": an operator's note (a phone call, a
// decision, a message received) added to the room's diary with the date,
// the time and the desk. A note is never changed: a correction is a new
// note that names the line it corrects.
class Formnota : public QWidget {
    Q_OBJECT
public:
    explicit Formnota(Context &ctx);

    // Opens on an empty note, or on `start` (the words that name the line a
    // correction refers to). A note typed and not registered stays.
    void start(const QString &start = {});

private:
    void registra();
    void esci();

    Context &m_ctx;
    QLineEdit *m_nota;
    QString m_start; // what the window opened with: nothing typed yet
};
