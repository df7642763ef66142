#include "app/qthelpviewer.h"

#include "ui/keys.h"
#include "ui/placement.h"
#include "ui/windows.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

QtHelpViewer::~QtHelpViewer()
{
    // The program ends: the guide's place is kept if it is open.
    if (m_browser && m_browser->isVisible()) ui::keepPlace(m_browser);
    delete m_browser;
}

QStringList QtHelpViewer::searchFolders()
{
    const QString app = QCoreApplication::applicationDirPath();
    return {app, QDir(app).filePath(QStringLiteral("../share/velmora")),
            QStringLiteral(VELMORA_HELP_DIR), QDir::currentPath()};
}

QString QtHelpViewer::locate(const QString &helpFile)
{
    for (const QString &dir : searchFolders()) {
        const QString candidate = QDir(dir).filePath(helpFile);
        if (QFileInfo::exists(candidate)) return QFileInfo(candidate).absoluteFilePath();
    }
    return {};
}

void QtHelpViewer::showKeywordIndex(const QString &helpFile)
{
    const QString path = locate(helpFile);
    if (path.isEmpty()) {
        m_prompts.info(QStringLiteral("Guida non disponibile: il file \"%1\" non è stato trovato.")
                           .arg(helpFile));
        return;
    }
    if (!m_browser) {
        m_browser = new QTextBrowser;
        m_browser->setObjectName(QStringLiteral("Formhelp"));
        m_browser->setWindowTitle(QStringLiteral("velmora - Guida"));
        m_browser->setOpenExternalLinks(false);
        m_browser->resize(720, 560);
        QTextBrowser *browser = m_browser;
        ui::WindowKeys::of(browser)->exitWith([browser] { browser->close(); });
    }
    QUrl url = QUrl::fromLocalFile(path);
    url.setFragment(QStringLiteral("indice"));
    m_browser->setSource(url, QTextDocument::HtmlResource);
    // Asked for from the window whose menu the user chose.
    present(m_browser, QApplication::activeWindow());
}
