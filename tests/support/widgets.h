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

// The texts of a list's lines, in order (a list widget or a line list).
inline QStringList lineTexts(const QAbstractItemView *list)
{
    QStringList out;
    const QAbstractItemModel *m = list->model();
    for (int i = 0; i < m->rowCount(); ++i) out << m->index(i, 0).data().toString();
    return out;
}

// Clicks line `row` of a list as the user does.
inline void clickLine(QAbstractItemView *list, int row, Qt::MouseButton button = Qt::LeftButton)
{
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), button, {}, list->visualRect(index).center());
}

// Replaces the text of a field by typing.
inline void typeInto(QLineEdit *field, const QString &text)
{
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    // Letters beyond ASCII come as the text of a key event.
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, c.unicode() < 0x80 ? QTest::asciiToKey(char(c.unicode())) : Qt::Key_unknown,
                            QString(c), Qt::NoModifier);
}

inline void typeInto(QComboBox *list, const QString &text) { typeInto(list->lineEdit(), text); }

// The entries of a drop-down list, in order.
inline QStringList entries(const QComboBox *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->itemText(i);
    return out;
}
