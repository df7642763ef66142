#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

// Driving the controls of a window as the user does.

// Chooses an entry of a drop-down list: opens the list and clicks the entry.
// False when the list holds no such entry.
inline bool chooseEntry(QComboBox *list, const QString &entry)
{
    const int i = list->findText(entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (i < 0) return false;
    list->showPopup();
    QAbstractItemView *view = list->view();
    const QModelIndex index = view->model()->index(i, list->modelColumn());
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    return list->currentText() == entry;
}

// Replaces the text of a field by typing.
inline void typeInto(QLineEdit *field, const QString &text)
{
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(field, char(c.unicode()));
        else // letters beyond ASCII come as the text of a key event
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

inline void typeInto(QComboBox *list, const QString &text) { typeInto(list->lineEdit(), text); }

// The entries of a drop-down list, in order.
inline QStringList entries(const QComboBox *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->itemText(i);
    return out;
}
