#pragma once

#include "archive/paths.h"
#include "platform/platform.h"
#include "session/modes.h"
#include "session/resourcekind.h"

#include <QString>
#include <functional>

class Windows;
class QWidget;

// The program-wide values, held for the whole run and shared by all windows.
struct Globals {
    // The mode of each window.
    modes::Registry modoass = modes::Registry::I, modoauto = modes::Registry::I,
                    modoattr = modes::Registry::I;
    modes::Activity modoatt = modes::Activity::Unset;
    modes::AssociationList modoasslist = modes::AssociationList::Unset;
    modes::PairList modoautolist = modes::PairList::Unset, modoattrlist = modes::PairList::Unset;
    modes::ActivityList modoattlist = modes::ActivityList::Unset;

    QString protsel;              // protocol number chosen in a list, no leading blanks
    QString nomeemergenza;        // emergency name
    qint16 ultimoprot = 0;        // last protocol number assigned
    bool risorsecambiate = false; // the rollback must undo resource changes
    bool attchiusa = false;       // the loaded activity was closed or cancelled
    modes::Activity modoattprec = modes::Activity::Unset; // to return to after picking a resource
    QString nomecaricato; // association last loaded into the association window
};

// What every window is handed: the working folder with its paths, the
// platform layer, the program-wide values and the registry of windows.
struct Context {
    archive::WorkingFolder folder;
    Platform platform;
    Globals g;
    Windows *windows = nullptr;
    QWidget *lastActive = nullptr; // the program window activated last
    // Another copy holds the working folder: everything is shown, nothing
    // is changed.
    bool consultation = false;
    // Told when an association's name changed, so that what a window holds
    // follows it (set by the window that holds such names).
    std::function<void(const QString &from, const QString &to)> associationRenamed;

    QString path(archive::File f) const { return folder.path(f); }
};
