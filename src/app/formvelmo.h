#pragma once

#include "app/menutable.h"
#include "session/context.h"
#include "session/resourcekind.h"

#include <QMainWindow>
#include <functional>

class QAction;
class QLineEdit;
class LineList;
class QMenu;
namespace registers {
class RegisterList;
}

// The main window: the menu bar that opens every other window, and the two
// lists of activities waiting to start and running.
class Formvelmo : public QMainWindow {
    Q_OBJECT
public:
    explicit Formvelmo(Context &ctx);

    // Fills the two lists and their count boxes from the activity archive.
    void caricaliste();

    // The menu entry with the given object name.
    QAction *action(const QString &name) const;

    // What ending the program does (tests replace it).
    void setQuitHandler(std::function<void()> quit) { m_quit = std::move(quit); }
    // Ends the program ("Fine", closing the window): what the activity
    // window holds unregistered goes back first. When it holds typed fields
    // or resource changes not registered, the user is asked first, naming
    // them; No keeps the program running and returns false.
    bool end();

    // The register list of `kind` in its picking mode (GA for equipment and
    // vehicles, RA for associations), filled with every record: the
    // activity window began a pick.
    void openPickList(ResourceKind kind);
    // A record line chosen in a list opened for picking: the resource
    // window offers it beside that list, or the user is told why not.
    void offerPicked(ResourceKind kind, const QString &line);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    // F10: the first menu of the menu bar opens, for the arrow keys.
    void openMenuBar();
    // The register list from which resources of `kind` are picked.
    registers::RegisterList *pickList(ResourceKind kind) const;
    // The folder is another copy's: the title says so and every entry that
    // would change an archive is disabled.
    void consultationOnly();
    // Does what the line of the menu table says (the menu is built from it).
    void choose(const MenuEntry &e);
    void activated();
    void showTitle();
    void lineClicked(const QString &line);
    // What the activity window holds unregistered goes back to the registers.
    void discardUnregisteredActivity();
    // Snapshots of the association, equipment and vehicle archives before the
    // activity window is opened (not while it holds resource changes not
    // registered: it takes them itself once they are undone).
    void newRollbackPoint();

    Context &m_ctx;
    LineList *m_list1;
    LineList *m_list2;
    QLineEdit *m_richieste;
    QLineEdit *m_iniziate;
    bool m_activatedOnce = false;
    std::function<void()> m_quit;
    bool m_ending = false; // the end confirmed, the windows being closed
};
