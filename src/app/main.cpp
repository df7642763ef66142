#include "app/context.h"
#include "app/formvelmo.h"
#include "app/windows.h"
#include "archive/journal.h"
#include "platform/qtplatform.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

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

    QtPlatform platform;
    Context ctx;
    // The working folder is the current folder of the process at start.
    ctx.folder = archive::WorkingFolder(QDir::currentPath());
    ctx.platform = platform.platform();
    // A change between archives that an abnormal end interrupted is finished
    // or undone before any window reads an archive.
    const archive::Recovery recovered = archive::recover(ctx.folder);
    if (recovered.status == archive::Recovery::Failed) ctx.platform.prompts->info(recovered.message());
    Windows windows(ctx);

    Formvelmo *main = windows.get<Formvelmo>();
    present(main);
    return app.exec();
}
