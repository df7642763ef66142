// Draws the program's icon as a PNG, at build time, with the geometry of
// packaging/velmora.svg (a 256 by 256 design): a night-blue tile, an orange
// triangle with a white border, the night-blue V of velmora and three dots.
//
//   drawicon <output.png> [size]

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "uso: drawicon <file.png> [lato]\n");
        return 2;
    }
    const int size = argc > 2 ? QByteArray(argv[2]).toInt() : 256;
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "drawicon: lato fuori misura (16-1024)\n");
        return 2;
    }

    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x3a, 0x6e));
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 40, 40);

    const QPolygonF triangle({{128, 34}, {228, 206}, {28, 206}});
    QPen border(Qt::white, 10);
    border.setJoinStyle(Qt::RoundJoin);
    p.setPen(border);
    p.setBrush(QColor(0xf5, 0xa6, 0x23));
    p.drawPolygon(triangle);

    const QColor night(0x1f, 0x3a, 0x6e);
    p.setPen(Qt::NoPen);
    p.setBrush(night);
    p.drawPolygon(
        QPolygonF({{86, 96}, {110, 96}, {128, 150}, {146, 96}, {170, 96}, {140, 182}, {116, 182}}));
    p.setBrush(Qt::white);
    for (int x : {64, 128, 192}) p.drawEllipse(QPointF(x, 226), 9, 9);
    p.end();

    if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "drawicon: impossibile scrivere %s\n", argv[1]);
        return 1;
    }
    return 0;
}
