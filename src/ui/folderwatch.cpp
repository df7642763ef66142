#include "ui/folderwatch.h"

#include "archive/diary.h"
#include "archive/paths.h"

#include <QDateTime>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

using archive::File;

FolderWatch::FolderWatch(const archive::WorkingFolder &folder, QObject *parent)
    : QObject(parent),
      m_watcher(new QFileSystemWatcher(this)),
      m_settle(new QTimer(this)),
      m_poll(new QTimer(this))
{
    for (File f : {File::Associazioni, File::Automezzi, File::Attrezzature, File::Attivita,
                   File::Risorse, File::Volontari, File::Emergenza, File::NumeroProt})
        m_files << folder.path(f);
    m_files << diary::path(folder);
    m_last = signature();

    // Staged files, the journal and the lock come and go in the folder too:
    // they wake the look, which finds the data files as they were.
    m_settle->setSingleShot(true);
    m_settle->setInterval(300);
    connect(m_settle, &QTimer::timeout, this, &FolderWatch::look);
    if (!folder.dir().isEmpty()) m_watcher->addPath(folder.dir());
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_settle, qOverload<>(&QTimer::start));

    m_poll->setInterval(2000);
    connect(m_poll, &QTimer::timeout, this, &FolderWatch::look);
    m_poll->start();
}

FolderWatch::Signature FolderWatch::signature() const
{
    Signature s;
    for (const QString &path : m_files) {
        const QFileInfo info(path);
        s.append({info.exists(), info.size(), info.lastModified().toMSecsSinceEpoch()});
    }
    return s;
}

void FolderWatch::look()
{
    Signature now = signature();
    if (now == m_last) return;
    // The windows that show the archives look again only when one of them
    // changed; the diary has a signal of its own.
    const bool data = now.mid(0, now.size() - 1) != m_last.mid(0, m_last.size() - 1);
    const bool told = now.last() != m_last.last();
    m_last = std::move(now);
    if (data) emit changed();
    if (told) emit diaryChanged();
}
