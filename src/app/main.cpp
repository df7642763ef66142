#include "session/context.h"
#include "archive/diary.h"
#include "app/desks.h"
#include "app/formvelmo.h"
#include "ui/windows.h"
#include "app/qtplatform.h"
#include "resources/unregistered.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora"));
    QApplication::setQuitOnLastWindowClosed(false);
    installItalianTexts();
    // The icon of the desktop entry; an installed program also finds it
    // beside itself when the icon theme does not know it.
    QGuiApplication::setDesktopFileName(QStringLiteral("velmora"));
    QIcon icon = QIcon::fromTheme(QStringLiteral("velmora"));
    if (icon.isNull())
        icon = QIcon(QDir(QCoreApplication::applicationDirPath())
                         .filePath(QStringLiteral("../share/icons/hicolor/256x256/apps/velmora.png")));
    QApplication::setWindowIcon(icon);

    // The working folder is the current folder of the process at start.
    const archive::WorkingFolder folder(QDir::currentPath());
    QtPlatform platform(folder);
    Context ctx;
    ctx.folder = folder;
    ctx.platform = platform.platform();
    // The diary's lines are stamped by this desk's clock.
    diary::useClock([&ctx] { return ctx.platform.clock->now(); });
    // Any number of desks write in the folder, each change under a short
    // lock; this one begins by finishing what stopped desks left.
    const QString leftUnregistered = desks::start(ctx);
    Windows windows(ctx);
    // The other desks learn that this one is still there.
    QTimer alive;
    QObject::connect(&alive, &QTimer::timeout, [&ctx] {
        if (!ctx.consultation) resources::deskAlive(ctx.folder);
    });
    alive.start(60 * 1000);

    Formvelmo *main = windows.get<Formvelmo>();
    present(main);
    if (!leftUnregistered.isEmpty()) ctx.platform.prompts->info(leftUnregistered);
    const int status = app.exec();
    desks::end(ctx);
    return status;
}
