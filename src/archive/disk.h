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

} // namespace archive::disk
