#pragma once

#include "platform/platform.h"

#include <QFont>
#include <QStringList>

class QPrinter;

namespace printing {

// The fixed-pitch font of every printout and list: "courier new", with the
// typewriter hint so that a system without it picks its metric twin.
QFont fixedFont(const QString &family, qreal points);
QFont courier(qreal points);

// What one printout is: its font size and orientation, and its lines.
struct Printout {
    int points = 10;
    Orientation orientation = Orientation::Portrait;
    QStringList lines;
};

// A line of a printout that only starts a new page.
inline const QString &newPage()
{
    static const QString mark(QLatin1Char('\f'));
    return mark;
}

// Sends a printout to the printer: font, size and orientation, every line
// unchanged, then the end of the job. The busy pointer is shown meanwhile.
// Returns false when nothing was printed.
bool print(const Platform &platform, const Printout &p);

// Sends one page drawn by `paint` to the printer, under the busy pointer.
bool printPage(const Platform &platform, Orientation orientation,
               const LinePrinter::PagePainter &paint);

// Paints lines on a printer, top to bottom, starting a new page when the
// page is full or at a newPage() line. Used by the Qt line printer.
bool paintLines(QPrinter &printer, const QFont &font, const QStringList &lines);

} // namespace printing
