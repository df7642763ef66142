#include "session/context.h"
#include "session/folderlock.h"
#include "app/formvelmo.h"
#include "ui/windows.h"
#include "archive/journal.h"
#include "app/qtplatform.h"
#include "resources/unregistered.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
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

    // The working folder is the current folder of the process at start.
    const archive::WorkingFolder folder(QDir::currentPath());
    QtPlatform platform(folder);
    Context ctx;
    ctx.folder = folder;
    ctx.platform = platform.platform();
    // One writer per folder: held until the program ends. A lock file that
    // is there before the folder is taken was left by a copy that ended
    // abnormally (a copy that ends normally removes it).
    FolderLock lock(ctx.folder.dir());
    const bool endedAbnormally =
        QFileInfo::exists(QDir(ctx.folder.dir()).filePath(FolderLock::fileName()));
    if (!claimFolder(ctx, lock)) return 0;
    // A change between archives that an abnormal end interrupted is finished
    // or undone before any window reads an archive; only by the copy that
    // writes the folder (another copy may be in the middle of one).
    if (!ctx.consultation) {
        const archive::Recovery recovered = archive::recover(ctx.folder);
        if (recovered.status == archive::Recovery::Failed) {
            // Writing on top of a change left half made could lose it: the
            // folder is only consulted until the journal can be finished.
            ctx.platform.prompts->info(recovered.message()
                                       + QStringLiteral("\n\nLa cartella viene aperta in sola "
                                                        "consultazione."));
            ctx.consultation = true;
            archive::setConsultationFolder(ctx.folder.dir());
        }
    }
    Windows windows(ctx);

    // What an activity window held unregistered when the program last ended
    // abnormally goes back to the registers before anything is shown; only
    // by the copy that writes the folder (another copy's window may still
    // hold it).
    const QString leftUnregistered =
        ctx.consultation ? QString() : resources::undoLeftUnregistered(ctx.folder, endedAbnormally);

    Formvelmo *main = windows.get<Formvelmo>();
    present(main);
    if (!leftUnregistered.isEmpty()) ctx.platform.prompts->info(leftUnregistered);
    return app.exec();
}
