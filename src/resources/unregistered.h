#pragma once

#include "archive/io.h"
#include "archive/paths.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the activity window changed in the registers since its last
// registration, and how it is undone: record by record, so that nothing
// else in the archives changes.
namespace resources {

// One change: the resource of `line` was taken (undone by giving it back)
// or, for a line deleted, given back (undone by taking it again).
struct Unregistered {
    QString line;
    bool givenBack = false;
    quint64 id = 0; // the window's own tag for the line; not kept on disk
};

// The changes are kept on disk as well, in the working folder's
// "sospese.dat", so that a program that ended abnormally gives them back at
// its next start. One change a line: "P" (taken) or "R" (given back), then
// the resource line.
QString unregisteredPath(const archive::WorkingFolder &folder);
archive::IoResult saveUnregistered(const archive::WorkingFolder &folder,
                                   const QList<Unregistered> &changes);
QList<Unregistered> readUnregistered(const archive::WorkingFolder &folder);

struct UndoReport {
    QStringList failures;     // messages of archives that could not be written
    QStringList missing;      // records no longer found, as describeLine names them
    QStringList undone;       // the records put back, as describeLine names them
    QList<Unregistered> kept; // what could not be undone for a failure: to try again
    // The one message naming the records no longer found (empty when none).
    QString missingMessage() const;
};

// Undoes `changes`, the last first.
UndoReport undo(const archive::WorkingFolder &folder, const QList<Unregistered> &changes);

// Tells in the diary of the change under way what `report` put back: of
// this desk's activity window, or (`desk`) of the window of a desk that
// stopped.
void tellUndone(const archive::WorkingFolder &folder, const UndoReport &report, const QString &desk);

// Undoes what the desk files of desks that no longer run hold (the desk's
// own file too: at a start it holds what the window held when the program
// last ended, abnormally, or normally with an undo that could not be
// written: `endedAbnormally` false), and says so in one message (empty when
// there was nothing). The files of desks that stopped are removed once
// given back.
QString undoLeftUnregistered(const archive::WorkingFolder &folder, bool endedAbnormally = true);

// The desk begins to write in the folder: what stopped desks left is given
// back (the message says what, empty when nothing), and the desk's own file
// is made, naming the desk.
QString startDesk(const archive::WorkingFolder &folder);
// The desk ends normally: its file goes when it holds nothing.
void endDesk(const archive::WorkingFolder &folder);
// The desk is still there: its file says so to the other desks (see
// stoppedDesk).
void deskAlive(const archive::WorkingFolder &folder);
// Whether the desk of the desk file `path` no longer runs: on this computer
// its process is gone; another computer's desk has not said it is there
// for `silence` seconds (setDeskSilence).
bool stoppedDesk(const archive::WorkingFolder &folder, const QString &path);
void setDeskSilence(int seconds);
// The other desks that write in the folder now, as "PC-SALA (utente rossi)".
QStringList otherDesks(const archive::WorkingFolder &folder);

} // namespace resources
