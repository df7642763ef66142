#include "ui/keys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace ui {

namespace {

bool usable(const QWidget *w, const QWidget *window)
{
    return w && w->isVisibleTo(window) && w->isEnabled();
}

bool within(const QWidget *w, const QWidget *field)
{
    return w && field && (w == field || field->isAncestorOf(w));
}

// The key pressed, without the keypad's own modifier (Enter on the keypad
// is Enter).
QKeyCombination pressed(const QKeyEvent *e)
{
    return QKeyCombination(e->modifiers() & ~Qt::KeypadModifier, Qt::Key(e->key()));
}

} // namespace

WindowKeys::WindowKeys(QWidget *window) : QObject(window), m_window(window)
{
    setObjectName(QStringLiteral("windowkeys"));
    window->installEventFilter(this);
}

WindowKeys *WindowKeys::of(QWidget *window)
{
    if (auto *keys = window->findChild<WindowKeys *>(QString(), Qt::FindDirectChildrenOnly))
        return keys;
    return new WindowKeys(window);
}

WindowKeys *WindowKeys::mainButton(QAbstractButton *button)
{
    m_main = button;
    return this;
}

WindowKeys *WindowKeys::exitButton(QAbstractButton *button)
{
    return exitWith([this, button] {
        if (usable(button, m_window)) button->click();
    });
}

WindowKeys *WindowKeys::exitWith(std::function<void()> work)
{
    m_exit = std::move(work);
    return this;
}

WindowKeys *WindowKeys::enterIn(QWidget *field, QAbstractButton *button)
{
    m_enterIn.append({field, button});
    return this;
}

WindowKeys *WindowKeys::firstFields(std::initializer_list<QWidget *> fields)
{
    m_first = QList<QWidget *>(fields);
    return this;
}

WindowKeys *WindowKeys::onKeys(QWidget *field, std::initializer_list<QKeyCombination> keys,
                               std::function<void()> work)
{
    m_bindings.append({field, QList<QKeyCombination>(keys), std::move(work)});
    if (field) field->installEventFilter(this);
    return this;
}

void WindowKeys::focusFirst()
{
    for (QWidget *w : std::as_const(m_first)) {
        if (!usable(w, m_window) || w->focusPolicy() == Qt::NoFocus) continue;
        focusField(w);
        m_fresh = w;
        return;
    }
}

bool WindowKeys::enter()
{
    QWidget *focus = QApplication::focusWidget();
    if (!within(focus, m_window)) focus = m_window->focusWidget();
    if (auto *button = qobject_cast<QPushButton *>(focus)) {
        if (!usable(button, m_window)) return false;
        button->click();
        return true;
    }
    for (const auto &[field, button] : std::as_const(m_enterIn)) {
        if (!within(focus, field) || !usable(field, m_window)) continue;
        if (usable(button, m_window)) button->click();
        return true;
    }
    if (!usable(m_main, m_window)) return false;
    m_main->click();
    return true;
}

bool WindowKeys::run(QWidget *field, QKeyCombination key)
{
    for (const Binding &b : std::as_const(m_bindings)) {
        if (b.field != field || !b.keys.contains(key)) continue;
        b.work();
        return true;
    }
    return false;
}

bool WindowKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Show && !event->spontaneous()) {
        focusFirst();
        return false;
    }
    if (watched == m_window && event->type() == QEvent::WindowActivate && m_fresh) {
        // The window's own activation work may fill the first field anew:
        // once it is done, what it holds is selected, so that typing
        // replaces it.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_fresh && m_fresh->hasFocus()) focusField(m_fresh);
                m_fresh = nullptr;
            },
            Qt::QueuedConnection);
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    auto *e = static_cast<QKeyEvent *>(event);
    const QKeyCombination key = pressed(e);
    if (watched != m_window) {
        // A key of one field, before the field sees it.
        if (run(static_cast<QWidget *>(watched), key)) return true;
        return false;
    }
    // What no control of the window took.
    if (run(nullptr, key)) return true;
    if (key == QKeyCombination(Qt::Key_Return) || key == QKeyCombination(Qt::Key_Enter))
        return enter();
    if (key == QKeyCombination(Qt::Key_Escape) && m_exit) {
        m_exit();
        return true;
    }
    return false;
}

void focusFirstField(QWidget *window)
{
    if (auto *keys = window->findChild<WindowKeys *>(QString(), Qt::FindDirectChildrenOnly))
        keys->focusFirst();
}

void tabChain(std::initializer_list<QWidget *> widgets)
{
    QWidget *before = nullptr;
    for (QWidget *w : widgets) {
        if (before) QWidget::setTabOrder(before, w);
        before = w;
    }
}

void offTabChain(QWidget *button) { button->setFocusPolicy(Qt::NoFocus); }

void focusField(QWidget *field)
{
    field->setFocus(Qt::OtherFocusReason);
    if (auto *edit = qobject_cast<QLineEdit *>(field)) edit->selectAll();
    else if (auto *list = qobject_cast<QComboBox *>(field); list && list->lineEdit())
        list->lineEdit()->selectAll();
}

} // namespace ui
