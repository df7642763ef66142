#pragma once

#include "archive/paths.h"
#include "doubles.h"
#include "session/context.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

// A working folder of its own for each test, with the platform doubles, as
// the program has them.
class TestFolder {
public:
    TestFolder()
    {
        ctx.folder = archive::WorkingFolder(m_dir.path());
        ctx.platform = fake.platform();
    }

    QString dir() const { return m_dir.path(); }
    QString path(archive::File f) const { return ctx.folder.path(f); }
    QString path(const QString &name) const { return QDir(dir()).filePath(name); }

    // Writes a file exactly as given (use "\r\n" for line ends).
    void write(archive::File f, const QByteArray &bytes) const { write(archive::fileName(f), bytes); }
    void write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(archive::File f) const { return read(archive::fileName(f)); }
    QByteArray read(const QString &name) const; // "<missing>" when there is none
    bool exists(archive::File f) const { return QFile::exists(path(f)); }
    // Every file of the folder, by name, with its bytes.
    QMap<QString, QByteArray> files() const;

    FakePlatform fake;
    Context ctx;

private:
    QTemporaryDir m_dir;
};

// Takes away (or gives back) the right to write a file or a folder.
void setReadOnly(const QString &path, bool readOnly = true);

// How a recorded print job was set up and whether it was ended, as one text
// ("courier new 10 landscape ended"), to compare with printSetup().
QString jobSetup(const RecordingPrinter::Job &job);
// The set-up every printout asks for: "courier new" at `points`, ended.
QString printSetup(int points, Orientation orientation);

// Joins lines with CR LF after each: crlf({"a", "b"}) == "a\r\nb\r\n".
QByteArray crlf(const QList<QByteArray> &lines);

// Windows-1252 bytes of a UTF-8 literal (for accented letters).
QByteArray w1252(const char *utf8);
