#include "app/qtlineprinter.h"

#include "archive/io.h"
#include "printing/printout.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>

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
        if (!m_prompts.question(
                QStringLiteral("Nessuna stampante installata. Salvo la stampa in un file PDF?")))
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
        draft.setFileTemplate(QFileInfo(m_pdf).absolutePath()
                              + QStringLiteral("/.velmora-XXXXXX.pdf"));
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
        const QByteArray pdf = ok && written.open(QIODevice::ReadOnly) ? written.readAll()
                                                                       : QByteArray();
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
