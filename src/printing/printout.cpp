#include "printing/printout.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

namespace printing {

QFont fixedFont(const QString &family, qreal points)
{
    QFont f(family);
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    f.setPointSizeF(points);
    return f;
}

QFont courier(qreal points) { return fixedFont(QStringLiteral("Courier New"), points); }

bool print(const Platform &platform, const Printout &p)
{
    BusyGuard busy(*platform.busy);
    if (!platform.printer->begin(QStringLiteral("courier new"), p.points, p.orientation))
        return false;
    for (const QString &l : p.lines) platform.printer->line(l);
    return platform.printer->end();
}

bool printPage(const Platform &platform, Orientation orientation,
               const LinePrinter::PagePainter &paint)
{
    BusyGuard busy(*platform.busy);
    return platform.printer->page(orientation, paint);
}

bool paintLines(QPrinter &printer, const QFont &font, const QStringList &lines)
{
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    painter.setFont(font);
    const QFontMetricsF fm(font, &printer);
    const qreal step = fm.lineSpacing();
    const qreal height = printer.pageLayout().paintRectPixels(printer.resolution()).height();
    qreal y = fm.ascent();
    for (const QString &l : lines) {
        if (l == newPage()) {
            if (y > fm.ascent()) printer.newPage();
            y = fm.ascent();
            continue;
        }
        if (y + fm.descent() > height && y > fm.ascent()) {
            printer.newPage();
            y = fm.ascent();
        }
        painter.drawText(QPointF(0, y), l);
        y += step;
    }
    return painter.end();
}

} // namespace printing
