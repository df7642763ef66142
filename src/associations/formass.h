#pragma once

#include "session/context.h"
#include "associations/records.h"
#include "registers/widgets.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

// The association registry window: insert (I), modify (M), delete (A) and,
// opened from the association list, view (L).
class Formass : public QWidget {
    Q_OBJECT
public:
    explicit Formass(Context &ctx);

    // What the caller sets before showing the window: the mode, the title and
    // the caption of "cmdassregistra" (none for viewing: the button hides);
    // the fields start empty. When the window shows data typed or chosen and
    // not registered, the user is asked first, naming the association; No
    // keeps everything as it is and returns false.
    bool prepare(modes::Registry mode, const QString &title, const QString &caption);

    // The line of the association list chosen for viewing; the view mode
    // shows the association whose name matches its first 50 characters.
    void setSelectedLine(const QString &line) { m_selectedLine = line; }
    const QString &selectedLine() const { return m_selectedLine; }

private:
    void activated();
    // The names of the drop-down list read again; nothing else changes.
    void refreshNames();
    void cerca();
    void nameChosen();
    void registra();
    void insertRecord(const QStringList &fields);
    void modifyRecord(const QStringList &fields);
    void deleteRecord(const QString &nameField);

    associations::Input input() const;
    void showInput(const associations::Input &in);
    void load(const associations::Association &a);
    void clearFields();
    // What the fields show, the name first.
    QStringList shown() const;
    void markClean();
    void tell(const QString &message);
    // The field a message of the checks is about.
    QWidget *fieldOf(const QString &message) const;
    // Tells the windows that hold association names that `from` is now `to`.
    void renamed(const QString &from, const QString &to);

    Context &m_ctx;
    QString m_selectedLine;
    registers::ChoiceList *m_denom;
    QLineEdit *m_indir, *m_comune, *m_prov, *m_tel, *m_fax, *m_email, *m_campo, *m_numvol;
    QPushButton *m_registra;
    registers::Draft m_draft;
    // The association chosen, as stored when it was chosen (its name first).
    QStringList m_loaded;
};
