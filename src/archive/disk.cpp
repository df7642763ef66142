#include "archive/disk.h"

#include <QFile>
#include <QtGlobal>

#include <cerrno>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace archive::disk {

bool syncFile(int fd)
{
    if (fd < 0) return false;
#ifdef Q_OS_WIN
    return ::_commit(fd) == 0;
#else
    int r;
    do {
#ifdef Q_OS_LINUX
        r = ::fdatasync(fd);
#else
        r = ::fsync(fd);
#endif
    } while (r != 0 && errno == EINTR);
    return r == 0;
#endif
}

bool syncFolder(const QString &dir)
{
#ifdef Q_OS_WIN
    // A folder cannot be opened for syncing there; NTFS logs its renames.
    Q_UNUSED(dir);
    return true;
#else
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    int r;
    do {
        r = ::fsync(fd);
    } while (r != 0 && errno == EINTR);
    ::close(fd);
    return r == 0;
#endif
}

} // namespace archive::disk
