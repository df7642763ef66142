#pragma once

#include "session/context.h"
#include "equipment/records.h"
#include "registers/widgets.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

// The equipment registry window: insert (I), modify (M) and delete (A).
class Formattr : public QWidget {
    Q_OBJECT
public:
    explicit Formattr(Context &ctx);

    // What the caller sets before showing the window: the mode, the title and
    // the caption of "cmdregistra"; the fields start empty. When the window
    // shows data typed or chosen and not registered, the user is asked
    // first, naming the record; No keeps everything as it is and returns
    // false.
    bool prepare(modes::Registry mode, const QString &title, const QString &caption);

    // The record last chosen from the lists; modify and delete act on it.
    equipment::Key selectedKey() const { return {m_selectedAss, m_selectedDes}; }

private:
    void activated();
    void cerca();
    void associationChosen();
    void descriptionChosen();
    void registra();
    void fillDescriptions();
    // The field a message of the checks is about.
    QWidget *fieldOf(const QString &message) const;
    // What the fields show, the association first.
    QStringList shown() const;
    void markClean();

    Context &m_ctx;
    QString m_selectedAss, m_selectedDes;
    registers::ChoiceList *m_ass, *m_des, *m_stato;
    QLineEdit *m_qta;
    QPushButton *m_registra;
    registers::Draft m_draft;
    // The record chosen, its fields as stored when it was chosen.
    QStringList m_loaded;
    // The association whose descriptions the description list holds.
    QString m_descriptionsOf;
};
