#pragma once

#include <QString>

// The few calls to the operating system that make written bytes and names
// durable, in one place for every platform the program is built on.
namespace archive::disk {

// Waits until the disk holds the content of the open file `fd`. False when
// it could not be put there: the file must then not replace anything.
bool syncFile(int fd);

// Makes the names created, renamed and removed in the folder `dir` so far
// durable. False when the folder could not be opened or synced.
bool syncFolder(const QString &dir);

// Puts the file `staged` in place of `target` in one step, `target` existing
// or not. Where another program holding `target` open makes the system
// refuse (Windows does), it is tried again for a short while. False when
// `target` was not replaced: it keeps what it held.
bool replaceFile(const QString &staged, const QString &target);

// Whether a program holds the file `path` open so that the system will not
// replace it (Windows; elsewhere a file held open is replaced all the same,
// and this is false).
bool heldOpen(const QString &path);

// Gives the file `from` the second name `to` (which must not exist). False
// where the file system cannot: the caller copies instead.
bool linkFile(const QString &from, const QString &to);

} // namespace archive::disk

namespace archive::disk {

// Whether the process `pid` of this computer still runs.
bool processRunning(qint64 pid);

} // namespace archive::disk
