#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <tuple>

class QFileSystemWatcher;
class QTimer;

namespace archive {
class WorkingFolder;
}

// Tells when a data file of the working folder changed on disk, whoever
// wrote it (another copy of the program working on the same folder, or
// this one): the six archives, the emergency name and the protocol counter.
// The folder itself is watched, because an archive is replaced by a rename
// and a watch on the old file would be lost; since network file systems may
// report nothing, the files are also looked at every two seconds. Either way
// `changed` comes only when the size, time or existence of one of the files
// really differs from the last time it was told. Nothing is ever written.
class FolderWatch : public QObject {
    Q_OBJECT
public:
    explicit FolderWatch(const archive::WorkingFolder &folder, QObject *parent = nullptr);

signals:
    void changed();
    // The room's diary (diario.txt) changed: a change of the archives or an
    // operator's note, by any desk.
    void diaryChanged();

private:
    using Signature = QList<std::tuple<bool, qint64, qint64>>;
    Signature signature() const;
    void look();

    QStringList m_files; // the data files looked at, the diary last
    Signature m_last;
    QFileSystemWatcher *m_watcher;
    QTimer *m_settle; // a burst of directory changes is looked at once
    QTimer *m_poll;
};
