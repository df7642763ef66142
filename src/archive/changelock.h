#pragma once

#include "archive/desk.h"
#include "archive/io.h"

#include <QString>

namespace archive {

// The working folder's change lock, "velmora.lck": held by one desk while it
// checks and commits one change (milliseconds), so that the changes of
// several desks never interleave. The file is made by an exclusive create,
// which network file systems honour too, and names its desk.
//
// A desk that finds the lock held waits for a few seconds; then the change
// is refused (Busy) with a message naming the desk that holds it. A lock
// whose desk no longer runs is taken over: on this computer when its
// process is gone, from another computer when it has stood unchanged longer
// than any change takes; a lock that cannot be read (empty, garbled) when it
// has stood unchanged for a while. Whoever takes the lock over is never
// trusted alone: before its first rename a change checks that the lock is
// still its own, after announcing itself with its journal (see
// archive::Transaction), so that two desks that both believe they hold the
// lock never both write.
class ChangeLock {
public:
    ChangeLock(const QString &dir, const Desk &desk);
    ~ChangeLock();
    ChangeLock(const ChangeLock &) = delete;
    ChangeLock &operator=(const ChangeLock &) = delete;

    // Takes the lock, waiting as said above. On failure nothing is held.
    IoResult acquire();
    // Whether the lock file still names this desk's lock.
    bool stillHeld() const;
    // Gives the lock back (the file is removed only while it is still this
    // desk's).
    void release();
    bool held() const { return m_held; }

    QString path() const { return m_path; }

    // How long a desk waits for a held lock before it gives up (tests
    // shorten it).
    static void setPatience(int milliseconds);
    static int patience();
    // How long another computer's lock, or an unreadable one, must stand
    // unchanged before it is taken over.
    static void setStaleAfter(int otherComputerSeconds, int unreadableSeconds);

    // The desk named by a lock, journal or desk file's text (its first line
    // of the desk's form, if any).
    static std::optional<Desk> deskOf(const QByteArray &text);

private:
    QByteArray content() const;
    bool stale(const QByteArray &text) const;
    bool takeOver(const QByteArray &judged);

    QString m_dir, m_path;
    Desk m_desk;
    bool m_held = false;
};

// The age in seconds of the file `path` as the folder's own clock counts it
// (a file written there now gives that clock: the computers of a network
// may disagree on the time); -1 when the file is not there.
qint64 ageInFolder(const QString &dir, const QString &path, const Desk &desk);

} // namespace archive
