#pragma once

#include "archive/diary.h"
#include "archive/paths.h"
#include "doubles.h"
#include "session/context.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

// A working folder of its own for each test, with the platform doubles, and a
// configuration folder of its own for the windows' places (never the user's).
class TestFolder {
public:
    TestFolder()
    {
        ctx.folder = archive::WorkingFolder(m_dir.path());
        ctx.platform = fake.platform();
        diary::useClock([c = &fake.clock] { return c->now(); });
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_config.path());
    }

    ~TestFolder() { diary::useClock({}); }

    QString dir() const { return m_dir.path(); }
    QString configDir() const { return m_config.path(); }
    QString path(archive::File f) const { return ctx.folder.path(f); }
    QString path(const QString &name) const { return QDir(dir()).filePath(name); }
    // The name of this desk's file of unregistered changes.
    QString deskName() const { return QFileInfo(ctx.folder.deskFile()).fileName(); }

    void write(archive::File f, const QByteArray &bytes) const { write(archive::fileName(f), bytes); }
    void write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(archive::File f) const { return read(archive::fileName(f)); }
    QByteArray read(const QString &name) const; // "<missing>" when there is none
    bool exists(archive::File f) const { return QFile::exists(path(f)); }
    QMap<QString, QByteArray> files() const;

    FakePlatform fake;
    Context ctx;

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_config;
};

void setReadOnly(const QString &path, bool readOnly = true);

// "courier new 10 landscape ended", to compare with printSetup().
QString jobSetup(const RecordingPrinter::Job &job);
QString printSetup(int points, Orientation orientation);

// Joins lines with CR LF after each: crlf({"a", "b"}) == "a\r\nb\r\n".
QByteArray crlf(const QList<QByteArray> &lines);

QByteArray w1252(const char *utf8);

// The number of a process of this computer that has ended.
qint64 endedProcess();

// Sets the last change of the file `path` `seconds` back.
void age(const QString &path, int seconds);
