#include "archive/disk.h"

#include <QDir>
#include <QFile>
#include <QtGlobal>

#include <cerrno>

#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
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

#ifdef Q_OS_WIN
namespace {

std::wstring native(const QString &path) { return QDir::toNativeSeparators(path).toStdWString(); }

// Another program (an antivirus, a spreadsheet reading the archive) holds
// the file for a moment.
bool heldByAnother(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED
           || error == ERROR_LOCK_VIOLATION;
}

} // namespace
#endif

bool replaceFile(const QString &staged, const QString &target)
{
#ifdef Q_OS_WIN
    for (int attempt = 0;; ++attempt) {
        if (::MoveFileExW(native(staged).c_str(), native(target).c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        if (!heldByAnother(::GetLastError()) || attempt == 40) return false;
        ::Sleep(50);
    }
#else
    return std::rename(QFile::encodeName(staged).constData(), QFile::encodeName(target).constData())
           == 0;
#endif
}

bool heldOpen(const QString &path)
{
#ifdef Q_OS_WIN
    // Opening it without sharing it fails while anyone else has it open.
    const HANDLE h = ::CreateFileW(native(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        ::CloseHandle(h);
        return false;
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
#else
    Q_UNUSED(path);
    return false;
#endif
}

bool linkFile(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return ::CreateHardLinkW(native(to).c_str(), native(from).c_str(), nullptr);
#else
    return ::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

} // namespace archive::disk

namespace archive::disk {

bool processRunning(qint64 pid)
{
    if (pid <= 0) return false;
#ifdef Q_OS_WIN
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!process) return ::GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = ::GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    ::CloseHandle(process);
    return running;
#else
    // A process of another user answers "not permitted": it is there.
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
#endif
}

} // namespace archive::disk
