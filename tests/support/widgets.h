#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

// Opens the list and clicks the entry; false when there is none.
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

inline QStringList lineTexts(const QAbstractItemView *list)
{
    QStringList out;
    const QAbstractItemModel *m = list->model();
    for (int i = 0; i < m->rowCount(); ++i) out << m->index(i, 0).data().toString();
    return out;
}

inline void clickLine(QAbstractItemView *list, int row, Qt::MouseButton button = Qt::LeftButton)
{
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), button, {}, list->visualRect(index).center());
}

inline void typeInto(QLineEdit *field, const QString &text)
{
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, c.unicode() < 0x80 ? QTest::asciiToKey(char(c.unicode())) : Qt::Key_unknown,
                            QString(c), Qt::NoModifier);
}

inline void typeInto(QComboBox *list, const QString &text) { typeInto(list->lineEdit(), text); }

inline QStringList entries(const QComboBox *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->itemText(i);
    return out;
}
