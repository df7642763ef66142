#pragma once

#include "archive/paths.h"
#include "platform/platform.h"

#include <QPointer>
#include <QStringList>
#include <memory>

#include <QTextBrowser>

class QPrinter;

// Loads the Italian texts of the toolkit's own buttons and dialogs ("Sì",
// "Annulla", "Salva"...). False when the translations are not installed: the
// program then runs with the toolkit's English captions.
bool installItalianTexts();

class QtPrompts : public Prompts {
public:
    void info(const QString &text) override;
    bool question(const QString &text) override;
    QString openFile(const QString &title, const QString &folder, const QString &filter) override;
    QString saveFile(const QString &title, const QString &folder, const QString &filter) override;
};

class QtClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class QtBusyCursor : public BusyCursor {
public:
    void push() override;
    void pop() override;
};

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
    QString m_pdf;        // the PDF file of the current job, if any
    QString m_font;
    int m_points = 10;
    Orientation m_orientation = Orientation::Portrait;
    QStringList m_lines;
    bool m_open = false;
};

// The program's own help window, showing the HTML guide "velmora.hlp".
class QtHelpViewer : public HelpViewer {
public:
    explicit QtHelpViewer(Prompts &prompts) : m_prompts(prompts) {}
    ~QtHelpViewer() override;
    void showKeywordIndex(const QString &helpFile) override;

    // Folders searched for the help file, in order.
    static QStringList searchFolders();
    static QString locate(const QString &helpFile);
    QTextBrowser *window() const { return m_browser; }

private:
    Prompts &m_prompts;
    QPointer<QTextBrowser> m_browser;
};

// The Qt implementations together, owned by main(), for the working folder
// `folder`.
class QtPlatform {
public:
    explicit QtPlatform(const archive::WorkingFolder &folder);
    Platform platform();

private:
    QtPrompts m_prompts;
    QtClock m_clock;
    QtBusyCursor m_busy;
    std::unique_ptr<QtLinePrinter> m_printer;
    std::unique_ptr<QtHelpViewer> m_help;
};
