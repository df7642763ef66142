#pragma once

#include "session/context.h"
#include "vehicles/records.h"
#include "registers/widgets.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

// The vehicle registry window: insert (I), modify (M) and delete (A).
class Formauto : public QWidget {
    Q_OBJECT
public:
    explicit Formauto(Context &ctx);

    // What the caller sets before showing the window: the mode, the title and
    // the caption of "cmdregistra"; the fields start empty. When the window
    // shows data typed or chosen and not registered, the user is asked
    // first, naming the record; No keeps everything as it is and returns
    // false.
    bool prepare(modes::Registry mode, const QString &title, const QString &caption);

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
    // What the fields show, the association first.
    QStringList shown() const;
    void markClean();
    void afterChange(bool keepArrival);
    vehicles::Input input() const;
    // The control that shows `field`.
    QWidget *fieldOf(vehicles::Field field) const;

    Context &m_ctx;
    vehicles::Key m_chiaveauto;
    registers::ChoiceList *m_ass, *m_des, *m_stato;
    QLineEdit *m_campo, *m_dataar, *m_oraar, *m_datapa, *m_orapa, *m_note;
    QPushButton *m_registra;
    registers::Draft m_draft;
    // The vehicle chosen, its fields as stored when it was chosen.
    QStringList m_loaded;
    // The association whose descriptions the description list holds.
    QString m_descriptionsOf;
};
