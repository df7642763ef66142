#pragma once

#include "archive/paths.h"
#include "platform/lineprinter.h"
#include "platform/prompts.h"

#include <QStringList>
#include <functional>

class QPrinter;

// Prints on the system's default printer. Where no printer is installed the
// user is offered to save the printout as a PDF file instead, never over one
// of the files of the working folder `folder`.
class QtLinePrinter : public LinePrinter {
public:
    QtLinePrinter(Prompts &prompts, const archive::WorkingFolder &folder)
        : m_prompts(prompts), m_folder(folder)
    {
    }
    bool begin(const QString &font, int points, Orientation orientation) override;
    void line(const QString &text) override;
    bool end() override;
    bool page(Orientation orientation, const PagePainter &paint) override;

    // Every job goes to this PDF file instead of a printer (tests, previews).
    void setPdfOutput(const QString &path) { m_forcedPdf = path; }

private:
    // Where the job goes: the printer, or a PDF file when there is none.
    bool chooseOutput();
    // Prints the job drawn by `paint` and tells the user how it went.
    bool finish(const std::function<bool(QPrinter &)> &paint);

    Prompts &m_prompts;
    archive::WorkingFolder m_folder;
    QString m_forcedPdf;
    QString m_pdf; // the PDF file of the current job, if any
    QString m_font;
    int m_points = 10;
    Orientation m_orientation = Orientation::Portrait;
    QStringList m_lines;
    bool m_open = false;
};
