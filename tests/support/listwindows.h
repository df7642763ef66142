#pragma once

#include "pdftext.h"
#include "office.h"

#include "ui/linelist.h"
#include "app/qtplatform.h"
#include "widgets.h"

#include <QComboBox>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTest>

// Driving the register list windows (List1, cmdcerca, cmbcerca, cmdstampa)
// as the user does.
namespace listwin {

inline LineList *list(QWidget *w) { return w->findChild<LineList *>("List1"); }
inline QComboBox *cmbcerca(QWidget *w) { return w->findChild<QComboBox *>("cmbcerca"); }
inline QPushButton *cmdcerca(QWidget *w) { return w->findChild<QPushButton *>("cmdcerca"); }

inline void click(QWidget *w, const char *button)
{
    QTest::mouseClick(w->findChild<QPushButton *>(button), Qt::LeftButton);
}

// Clicks the line at `row` of List1.
inline void choose(QWidget *w, int row) { clickLine(list(w), row); }

// Presses "Stampa" with the real printer writing a PDF file, and reads the
// file back.
inline PdfText printToPdf(TestOffice &o, QWidget *w, const QString &name)
{
    QtLinePrinter printer(o.fake.prompts);
    const QString pdf = o.path(name);
    printer.setPdfOutput(pdf);
    LinePrinter *before = o.ctx.platform.printer;
    o.ctx.platform.printer = &printer;
    click(w, "cmdstampa");
    o.ctx.platform.printer = before;
    return readPdf(pdf);
}

// Presses "Stampa" with the real printer where no printer is installed:
// the program offers to save a PDF file; the answers are Yes and `name`
// with no extension (the program adds ".pdf"). Reads the file back. Not ok
// when a printer is installed (the job would go to it).
inline PdfText printWithoutPrinter(TestOffice &o, QWidget *w, const QString &name)
{
    if (!QPrinterInfo::availablePrinters().isEmpty()) return {};
    QtLinePrinter printer(o.fake.prompts);
    LinePrinter *before = o.ctx.platform.printer;
    o.ctx.platform.printer = &printer;
    o.fake.prompts.answers << true;
    o.fake.prompts.files << o.path(name);
    click(w, "cmdstampa");
    o.ctx.platform.printer = before;
    return readPdf(o.path(name) + ".pdf");
}

} // namespace listwin
