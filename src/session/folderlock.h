#pragma once

#include "session/context.h"

#include <QDateTime>
#include <QLockFile>

// One copy of the program writes in a working folder: the first one holds
// the lock file "velmora.lck" there for its whole run, with the user's name
// and the time it took the folder. A lock left by a copy that ended
// abnormally on this computer, or one that cannot be read as a lock and that
// no running copy holds, is taken over; a copy that is still running, here
// or on another computer, keeps it.
class FolderLock {
public:
    explicit FolderLock(const QString &dir);

    // Takes the folder for this copy, recording `since` as its start.
    bool acquire(const QDateTime &since);
    // The question for a copy that could not take the folder: who holds it,
    // and whether to open it for consultation only.
    QString busyQuestion() const;

    static QString fileName() { return archive::fileName(archive::Companion::Lock); }

private:
    bool takeOverUnreadable();

    QString m_path;
    QLockFile m_lock;
};

// At start: takes the working folder, or asks whether to open it for
// consultation only (then nothing in it is ever written). False when the
// user chose to quit.
bool claimFolder(Context &ctx, FolderLock &lock);
