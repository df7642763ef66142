#include "app/qtplatform.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "archive/io.h"
#include "printing/printout.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <QTextBrowser>
#include <QUrl>

namespace {

// A message must never be shown under the busy pointer: take every busy
// pointer off while it is open and put them back afterwards.
class CursorPause {
public:
    CursorPause()
    {
        while (QApplication::overrideCursor()) {
            QApplication::restoreOverrideCursor();
            ++m_count;
        }
    }
    ~CursorPause()
    {
        for (int i = 0; i < m_count; ++i) QApplication::setOverrideCursor(Qt::WaitCursor);
    }

private:
    int m_count = 0;
};

QWidget *dialogParent() { return QApplication::activeWindow(); }

} // namespace

void QtPrompts::info(const QString &text)
{
    CursorPause pause;
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("velmora"), text, QMessageBox::Ok,
                    dialogParent());
    box.exec();
}

bool QtPrompts::question(const QString &text)
{
    CursorPause pause;
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("velmora"), text,
                    QMessageBox::Yes | QMessageBox::No, dialogParent());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

namespace {

// The file dialogs of the backups, printouts and reports: every file is
// listed (also one whose name has no dot, which "*.*" alone would hide) and
// any name may be typed; a save dialog asks before an existing file is
// replaced (the program's own files are refused by the callers).
QString fileDialog(QFileDialog::AcceptMode mode, const QString &title, const QString &folder,
                   const QString &filter)
{
    CursorPause pause;
    const QString shown = filter == QLatin1String("*.*") ? QStringLiteral("*.* (*)") : filter;
    QFileDialog dialog(dialogParent(), title, folder, shown);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (dialog.exec() != QDialog::Accepted) return QString();
    return dialog.selectedFiles().value(0);
}

} // namespace

QString QtPrompts::openFile(const QString &title, const QString &folder, const QString &filter)
{
    return fileDialog(QFileDialog::AcceptOpen, title, folder, filter);
}

QString QtPrompts::saveFile(const QString &title, const QString &folder, const QString &filter)
{
    return fileDialog(QFileDialog::AcceptSave, title, folder, filter);
}

void QtBusyCursor::push() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void QtBusyCursor::pop() { QApplication::restoreOverrideCursor(); }

bool QtLinePrinter::begin(const QString &font, int points, Orientation orientation)
{
    m_font = font;
    m_points = points;
    m_orientation = orientation;
    m_lines.clear();
    if (!chooseOutput()) return false;
    m_open = true;
    return true;
}

bool QtLinePrinter::chooseOutput()
{
    m_pdf = m_forcedPdf;
    if (m_pdf.isEmpty() && QPrinterInfo::availablePrinters().isEmpty()) {
        if (!m_prompts.question(QStringLiteral(
                "Nessuna stampante installata. Salvo la stampa in un file PDF?")))
            return false;
        // Never over one of the program's own files: the dialog comes back
        // for another name.
        for (;;) {
            m_pdf = m_prompts.saveFile(QStringLiteral("Salva stampa"), QDir::currentPath(),
                                       QStringLiteral("File PDF (*.pdf)"));
            if (m_pdf.isEmpty()) return false;
            if (QFileInfo(m_pdf).suffix().isEmpty()) m_pdf += QStringLiteral(".pdf");
            if (!m_folder.isOwnFile(m_pdf)) break;
            m_prompts.info(archive::ownFileAsDestination(m_pdf));
        }
    }
    return true;
}

void QtLinePrinter::line(const QString &text)
{
    if (m_open) m_lines << text;
}

namespace {

// A PDF is whole when it ends with the offset of its cross-reference table
// ("startxref", the offset, "%%EOF") and that table stands at the offset: a
// file cut short, or missing a stretch, fails one or the other.
bool wholePdf(const QByteArray &pdf)
{
    if (!pdf.endsWith("%%EOF\n") && !pdf.endsWith("%%EOF\r\n")) return false;
    const qsizetype at = pdf.lastIndexOf("startxref");
    if (at < 0) return false;
    const QList<QByteArray> items = pdf.mid(at + 9).simplified().split(' ');
    bool ok = false;
    const qint64 table = items.size() == 2 ? items.at(0).toLongLong(&ok) : -1;
    return ok && table >= 0 && table < at && pdf.mid(table, 4) == "xref";
}

} // namespace

bool QtLinePrinter::end()
{
    if (!m_open) return false;
    m_open = false;
    const QStringList lines = std::move(m_lines);
    m_lines.clear();
    return finish([&](QPrinter &printer) {
        return printing::paintLines(printer, printing::fixedFont(m_font, m_points), lines);
    });
}

bool QtLinePrinter::page(Orientation orientation, const PagePainter &paint)
{
    if (m_open || !chooseOutput()) return false;
    m_orientation = orientation;
    return finish([&](QPrinter &printer) {
        QPainter painter;
        if (!painter.begin(&printer)) return false;
        // The painter's origin stands at the top left of the printable area.
        paint(painter, QRectF(QPointF(0, 0),
                              printer.pageLayout().paintRectPixels(printer.resolution()).size()));
        return painter.end();
    });
}

bool QtLinePrinter::finish(const std::function<bool(QPrinter &)> &paint)
{
    QPrinter printer(QPrinter::HighResolution);
    // A PDF is written beside the chosen file first, and replaces it only
    // when it is whole: a full disk leaves the old file, or none.
    QTemporaryFile draft;
    if (!m_pdf.isEmpty()) {
        draft.setFileTemplate(QFileInfo(m_pdf).absolutePath() + QStringLiteral("/.velmora-XXXXXX.pdf"));
        const bool opened = draft.open();
        draft.close();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(opened ? draft.fileName() : QString());
    }
    printer.setDocName(QStringLiteral("velmora"));
    printer.setPageOrientation(m_orientation == Orientation::Landscape ? QPageLayout::Landscape
                                                                      : QPageLayout::Portrait);
    bool ok = (m_pdf.isEmpty() || !printer.outputFileName().isEmpty()) && paint(printer);
    archive::IoResult io;
    if (!m_pdf.isEmpty()) {
        QFile written(draft.fileName());
        const QByteArray pdf = ok && written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
        io = wholePdf(pdf) ? archive::replaceFile(m_pdf, pdf) : archive::IoResult::writeFailed(m_pdf);
        ok = io.ok();
    }
    if (!ok)
        m_prompts.info(QStringLiteral("Stampa non riuscita.")
                       + (io.ok() ? QString() : QStringLiteral(" ") + io.message()));
    else if (!m_pdf.isEmpty() && m_forcedPdf.isEmpty())
        m_prompts.info(QStringLiteral("Stampa salvata nel file %1.").arg(m_pdf));
    return ok;
}

bool installItalianTexts()
{
    static QTranslator *translator = nullptr;
    if (translator) return true;
    auto *t = new QTranslator(QCoreApplication::instance());
    if (!t->load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                 QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    translator = t;
    return true;
}

QtHelpViewer::~QtHelpViewer() { delete m_browser; }

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
    }
    QUrl url = QUrl::fromLocalFile(path);
    url.setFragment(QStringLiteral("indice"));
    m_browser->setSource(url, QTextDocument::HtmlResource);
    m_browser->show();
    m_browser->raise();
    m_browser->activateWindow();
}

QtPlatform::QtPlatform(const archive::WorkingFolder &folder)
    : m_printer(std::make_unique<QtLinePrinter>(m_prompts, folder)),
      m_help(std::make_unique<QtHelpViewer>(m_prompts))
{
}

Platform QtPlatform::platform()
{
    return {&m_prompts, &m_clock, &m_busy, m_printer.get(), m_help.get()};
}
