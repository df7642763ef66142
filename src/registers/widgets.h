#pragma once

#include "platform/prompts.h"
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

// Replaces the entries of a drop-down list, keeping the text typed or chosen
// and where the cursor stands in it.
void refresh(QComboBox *list, const QStringList &entries);

// What a registry window holds, compared with what it held when it was last
// emptied, loaded or registered: what the user typed or chose since, and
// has not registered.
class Draft {
public:
    void markClean(const QStringList &shown) { m_clean = shown; }
    bool changed(const QStringList &shown) const { return shown != m_clean; }

private:
    QStringList m_clean;
};

// The fields of the record `key` as the archive holds them now; none when
// it is not there. A registry window keeps them when the user chooses the
// record, and modifies it only while they still stand so.
QStringList storedFields(const QString &path, const archive::RecordFormat &format,
                         const PairKey &key);

// Asks before a new task empties what a registry window holds typed and not
// registered: "I dati scritti per <what> non sono registrati. Li
// abbandono?" (`what`: "l'associazione ALFA", "un nuovo automezzo"...).
bool abandon(Prompts &prompts, const QString &what);

// The record a vehicle or equipment window shows, for that question:
// `named` with its description ("l'automezzo %1"), `unnamed` without
// ("un automezzo"), either followed by " di <association>" when there is
// one; `none` with neither ("un nuovo automezzo").
QString recordName(const QString &association, const QString &description, const char *named,
                   const char *unnamed, const char *none);

} // namespace registers
