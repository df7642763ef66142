// Draws the program's icon as a PNG, at build time, with the geometry of
// packaging/velmora.svg (a 256 by 256 design): a night-blue tile, an orange
// triangle with a white border, the night-blue V of velmora and three dots.
//
//   drawicon <output.png> [size]
//   drawicon <output.ico>          the Windows icon: 16, 32, 48 and 256 pixels

#include <QBuffer>
#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cstdio>

namespace {

QImage draw(int size)
{
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
    return image;
}

// An .ico file whose images are PNG streams, as Windows reads them since Vista.
QByteArray icoFile(std::initializer_list<int> sizes)
{
    QByteArray header, images;
    QDataStream out(&header, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(sizes.size());
    const int start = 6 + 16 * int(sizes.size());
    for (int size : sizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        draw(size).save(&buffer, "PNG");
        // Width and height 0 stand for 256; one plane, 32 bits per pixel.
        out << quint8(size % 256) << quint8(size % 256) << quint8(0) << quint8(0) << quint16(1)
            << quint16(32) << quint32(png.size()) << quint32(start + images.size());
        images += png;
    }
    return header + images;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "uso: drawicon <file.png> [lato]\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (path.endsWith(QLatin1String(".ico"))) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(icoFile({16, 32, 48, 256})) < 0
            || !file.flush()) {
            std::fprintf(stderr, "drawicon: impossibile scrivere %s\n", argv[1]);
            return 1;
        }
        return 0;
    }
    const int size = argc > 2 ? QByteArray(argv[2]).toInt() : 256;
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "drawicon: lato fuori misura (16-1024)\n");
        return 2;
    }

    if (!draw(size).save(path, "PNG")) {
        std::fprintf(stderr, "drawicon: impossibile scrivere %s\n", argv[1]);
        return 1;
    }
    return 0;
}
