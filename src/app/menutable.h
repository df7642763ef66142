#pragma once

#include "session/modes.h"

#include <QKeyCombination>
#include <QString>
#include <variant>
#include <vector>

struct Context;
class Formvelmo;

// One entry of the main window's menu and what choosing it does.
struct MenuEntry {
    using Mode = std::variant<std::monostate, modes::Registry, modes::PairList,
                              modes::AssociationList, modes::ActivityList, modes::Activity>;

    const char *menu;   // object name of the menu it stands in; empty: the menu bar
    const char *name;   // object name of the menu entry
    QString label;      // what the menu shows, '&' before the letter of Alt
    const char *window; // object name of the window it opens; empty for none
    Mode mode;          // the mode it opens the window in
    QString title;      // the window's title; empty: the window keeps its own
    // The caption of the window's main button: the registration button, or
    // the search button of the vehicle and equipment lists (empty hides
    // their search controls).
    QString caption;
    bool snapshotFirst; // a new rollback point of the registers is taken first
    bool writes;        // changes an archive: disabled when the folder is only consulted
    // Opens the window in its mode, or does what the entry does.
    void (*run)(Formvelmo &main, Context &ctx, const MenuEntry &entry);
};

// Every entry of the menu, in menu order.
const std::vector<MenuEntry> &menuTable();

// A menu that holds entries: in the menu bar or in another menu.
struct MenuFolder {
    const char *name;   // object name of the menu and of its entry in the parent
    const char *parent; // object name of the menu it stands in; empty: the menu bar
    QString label;
    bool writes; // holds only entries that change an archive
};

// Every menu, each before the menus it holds.
const std::vector<MenuFolder> &menuFolders();

// The keys of the frequent entries. They work from every window of the
// program, as long as the entry is enabled.
struct MenuShortcut {
    const char *name; // object name of the entry
    QKeyCombination key;
};
const std::vector<MenuShortcut> &menuShortcuts();

// The entry with the given object name; nullptr when there is none.
const MenuEntry *menuEntry(const QString &name);
