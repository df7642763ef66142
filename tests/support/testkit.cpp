#include "testkit.h"

#include "archive/encoding.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

TestOffice::TestOffice()
{
    ctx.folder = archive::WorkingFolder(m_dir.path());
    ctx.platform = fake.platform();
    windows = std::make_unique<Windows>(ctx);
}

TestOffice::~TestOffice() { windows.reset(); }

QString TestOffice::path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

void TestOffice::write(archive::File f, const QByteArray &bytes) const { write(archive::fileName(f), bytes); }

void TestOffice::write(const QString &name, const QByteArray &bytes) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write test file");
    file.write(bytes);
}

QByteArray TestOffice::read(archive::File f) const { return read(archive::fileName(f)); }

QByteArray TestOffice::read(const QString &name) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
    return file.readAll();
}

bool TestOffice::exists(archive::File f) const { return QFile::exists(path(f)); }

void TestOffice::activate(QWidget *w)
{
    // Coming from another window: the last active one is someone else.
    ctx.lastActive = nullptr;
    if (QApplication::activeWindow() == w) {
        QEvent e(QEvent::WindowActivate);
        QApplication::sendEvent(w, &e);
        return;
    }
    present(w);
    // Wait until some window of the program took the activation (the window
    // itself, or one it opened at once from its activation work).
    if (!QTest::qWaitFor([&] { return ctx.lastActive != nullptr; }, 300)) {
        // Some platforms do not activate hidden test windows; deliver the
        // activation the way the window system would.
        QEvent e(QEvent::WindowActivate);
        QApplication::sendEvent(w, &e);
    }
}

namespace {

QString setupText(const QString &font, int points, Orientation orientation, bool ended)
{
    return QStringLiteral("%1 %2 %3%4")
        .arg(font)
        .arg(points)
        .arg(orientation == Orientation::Landscape ? "landscape" : "portrait")
        .arg(ended ? " ended" : "");
}

} // namespace

QString jobSetup(const RecordingPrinter::Job &job)
{
    return setupText(job.font, job.points, job.orientation, job.ended);
}

QString printSetup(int points, Orientation orientation)
{
    return setupText(QStringLiteral("courier new"), points, orientation, true);
}

QByteArray crlf(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (const QByteArray &l : lines) out += l + "\r\n";
    return out;
}

QByteArray w1252(const char *utf8) { return cp1252::encode(QString::fromUtf8(utf8)); }
