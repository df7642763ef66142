#pragma once

#include "pdftext.h"
#include "office.h"

#include "ui/linelist.h"
#include "app/qtplatform.h"
#include "widgets.h"

#include <QComboBox>
#include <QFile>
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

// The number of lines of an example archive of `make run` (-1 when missing).
inline int exampleLines(const QString &file)
{
    QFile f(QStringLiteral(VELMORA_HELP_DIR "/../data/example/") + file);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    return int(f.readAll().count('\n'));
}

} // namespace listwin
