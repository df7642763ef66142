#include "app/context.h"
#include "app/formvelmo.h"
#include "app/windows.h"
#include "platform/qtplatform.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora"));
    QApplication::setQuitOnLastWindowClosed(false);

    QtPlatform platform;
    Context ctx;
    // The working folder is the current folder of the process at start.
    ctx.folder = archive::WorkingFolder(QDir::currentPath());
    ctx.platform = platform.platform();
    Windows windows(ctx);

    Formvelmo *main = windows.get<Formvelmo>();
    present(main);
    return app.exec();
}
