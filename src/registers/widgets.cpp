#include "registers/widgets.h"

#include "ui/ui.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace registers {

ChoiceList::ChoiceList(QWidget *parent) : QComboBox(parent)
{
    connect(this, &QComboBox::activated, this, [this] {
        if (!m_typing) emit chosen();
    });
}

void ChoiceList::focusOutEvent(QFocusEvent *e)
{
    m_typing = true;
    QComboBox::focusOutEvent(e);
    m_typing = false;
}

void ChoiceList::keyPressEvent(QKeyEvent *e)
{
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    m_typing = enter;
    QComboBox::keyPressEvent(e);
    m_typing = false;
}

ChoiceList *editableList(QWidget *parent, const char *name, int x, int y, int w, int h,
                         const QString &tooltip)
{
    auto *c = ui::make<ChoiceList>(parent, name, x, y, w, h);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setCompleter(nullptr); // what is typed stays as typed
    c->setMaxVisibleItems(12);
    if (!tooltip.isEmpty()) c->setToolTip(tooltip);
    return c;
}

void prepareWindow(QWidget *window, QPushButton *button, bool consultation, const QString &title,
                   const QString &caption)
{
    window->setWindowTitle(title);
    if (caption.isEmpty()) {
        button->setVisible(false);
        return;
    }
    button->setText(caption);
    button->setVisible(true);
    button->setEnabled(!consultation);
}

void empty(QComboBox *list)
{
    list->clear();
    list->setEditText(QString());
}

void refill(QComboBox *list, const QStringList &entries)
{
    list->clear();
    list->addItems(entries);
    list->setCurrentIndex(-1);
    list->setEditText(QString());
}

void refresh(QComboBox *list, const QStringList &entries)
{
    const QString text = list->currentText();
    const int cursor = list->lineEdit() ? list->lineEdit()->cursorPosition() : 0;
    list->clear();
    list->addItems(entries);
    list->setCurrentIndex(-1);
    list->setEditText(text);
    if (list->lineEdit()) list->lineEdit()->setCursorPosition(cursor);
}

QStringList storedFields(const QString &path, const archive::RecordFormat &format, const PairKey &key)
{
    const auto r = findPair(path, format, key);
    return r ? r->fields : QStringList();
}

bool abandon(Prompts &prompts, const QString &what)
{
    return prompts.question(
        QStringLiteral("I dati scritti per %1 non sono registrati. Li abbandono?").arg(what));
}

QString recordName(const QString &association, const QString &description, const char *named,
                   const char *unnamed, const char *none)
{
    const QString a = association.trimmed(), d = description.trimmed();
    if (!d.isEmpty())
        return a.isEmpty() ? QString::fromUtf8(named).arg(d)
                           : QStringLiteral("%1 di %2").arg(QString::fromUtf8(named).arg(d), a);
    if (!a.isEmpty()) return QStringLiteral("%1 di %2").arg(QString::fromUtf8(unnamed), a);
    return QString::fromUtf8(none);
}

} // namespace registers
