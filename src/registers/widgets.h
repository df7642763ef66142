#pragma once

#include "registers/registers.h"

#include <QComboBox>
#include <QString>

class QPushButton;
class QWidget;

// Controls and messages shared by the registry windows of associations,
// vehicles and equipment.
namespace registers {

// An editable drop-down list that never adds what is typed to its entries
// and tells when the user chooses an entry: from the open list, with the
// arrow keys or the wheel. Leaving the field or pressing Enter after typing a
// text that happens to be an entry is no choice.
class ChoiceList : public QComboBox {
    Q_OBJECT
public:
    explicit ChoiceList(QWidget *parent = nullptr);

signals:
    void chosen();

protected:
    void focusOutEvent(QFocusEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    bool m_typing = false;
};

ChoiceList *editableList(QWidget *parent, const char *name, int x, int y, int w, int h,
                         const QString &tooltip = {});

// Titles a registry window for its mode and captions its main button, shown
// and usable unless the folder is only consulted; an empty caption hides it.
void prepareWindow(QWidget *window, QPushButton *button, bool consultation, const QString &title,
                   const QString &caption);

// Empties a drop-down list, entries and text.
void empty(QComboBox *list);

// Replaces the entries of a drop-down list and empties its text.
void refill(QComboBox *list, const QStringList &entries);

} // namespace registers
