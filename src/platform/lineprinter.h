#pragma once

#include <QRectF>
#include <QString>
#include <functional>

class QPainter;

enum class Orientation { Portrait, Landscape };

class LinePrinter {
public:
    virtual ~LinePrinter() = default;
    // Starts a job; false when there is nowhere to print (the user declined).
    virtual bool begin(const QString &font, int points, Orientation orientation) = 0;
    virtual void line(const QString &text) = 0;
    // Ends the job; false when it could not be printed.
    virtual bool end() = 0;

    // A page drawn rather than written in lines (charts): `paint` draws
    // inside `area`. False when nothing was printed (a printer that only
    // writes lines prints no such page).
    using PagePainter = std::function<void(QPainter &painter, const QRectF &area)>;
    virtual bool page(Orientation, const PagePainter &) { return false; }
};
