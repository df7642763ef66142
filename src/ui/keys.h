#pragma once

#include <QKeyCombination>
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>
#include <initializer_list>

class QAbstractButton;
class QWidget;

// The keyboard of the program's windows, for an operator who works without
// the mouse.
namespace ui {

// The keys of one window, given once when the window is built:
// - Enter presses the push button that has the focus; in a field given its
//   own button (a search box and its "Cerca") that button; anywhere else
//   the window's main button, when it is shown and usable. A control that
//   uses Enter itself (a list whose line Enter chooses, an open drop-down
//   list) keeps it.
// - Esc does what the window's way out does ("Esci", "Annulla").
// - Showing the window puts the focus on its first field.
// - Further keys act on the whole window or on one field.
class WindowKeys : public QObject {
    Q_OBJECT
public:
    // The keys of `window`, made the first time they are asked for.
    static WindowKeys *of(QWidget *window);

    // The button Enter presses; null: none.
    WindowKeys *mainButton(QAbstractButton *button);
    // What Esc does: press `button`, or run `work`.
    WindowKeys *exitButton(QAbstractButton *button);
    WindowKeys *exitWith(std::function<void()> work);
    // Enter in `field` presses `button` instead of the main button.
    WindowKeys *enterIn(QWidget *field, QAbstractButton *button);
    // The fields that take the focus when the window is shown: the first
    // one shown and usable.
    WindowKeys *firstFields(std::initializer_list<QWidget *> fields);
    // `keys` anywhere in the window (field null) or in `field` run `work`.
    WindowKeys *onKeys(QWidget *field, std::initializer_list<QKeyCombination> keys,
                       std::function<void()> work);

    // Puts the focus on the first field, its text selected.
    void focusFirst();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit WindowKeys(QWidget *window);
    bool enter();
    struct Binding {
        QWidget *field; // null: the whole window
        QList<QKeyCombination> keys;
        std::function<void()> work;
    };
    bool run(QWidget *field, QKeyCombination key);

    QWidget *m_window;
    QAbstractButton *m_main = nullptr;
    std::function<void()> m_exit;
    QList<std::pair<QWidget *, QAbstractButton *>> m_enterIn;
    QList<QWidget *> m_first;
    QList<Binding> m_bindings;
    QPointer<QWidget> m_fresh; // the first field, focused until the window is activated
};

// The first field of `window` takes the focus, as when it is shown: for a
// window already shown that a menu entry or another window brings forward.
void focusFirstField(QWidget *window);

// Tab goes through `widgets` in this order (a widget hidden or disabled is
// passed over by Tab).
void tabChain(std::initializer_list<QWidget *> widgets);

// A helper button beside a field ("…", "H") that Tab passes over; the key of
// the field does what it does. Still pressed with the mouse.
void offTabChain(QWidget *button);

// The focus on `field`, its text selected: the field a message was about.
void focusField(QWidget *field);

} // namespace ui
