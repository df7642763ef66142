#pragma once

#include "session/context.h"
#include "vehicles/records.h"

#include <QWidget>

namespace registers {
class ChoiceList;
}
class QLineEdit;
class QPushButton;

// The vehicle registry window: insert (I), modify (M) and delete (A).
class Formauto : public QWidget {
    Q_OBJECT
public:
    explicit Formauto(Context &ctx);

    // What the caller sets before showing the window: the mode, the title and
    // the caption of "cmdregistra".
    void prepare(modes::Registry mode, const QString &title, const QString &caption);

    // The vehicle last loaded by choosing a description; modify and delete
    // act on it.
    const vehicles::Key &chiaveauto() const { return m_chiaveauto; }

private:
    void activated();
    void cerca();
    void associationChosen();
    void descriptionChosen();
    void registra();
    void fillDescriptions();
    void afterChange(bool keepArrival);
    vehicles::Input input() const;
    // The field a message of the checks is about; null for the dates and
    // times.
    QWidget *fieldOf(const QString &message) const;

    Context &m_ctx;
    vehicles::Key m_chiaveauto;
    registers::ChoiceList *m_ass, *m_des, *m_stato;
    QLineEdit *m_campo, *m_dataar, *m_oraar, *m_datapa, *m_orapa, *m_note;
    QPushButton *m_registra;
};
