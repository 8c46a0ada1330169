// Draws the installed icons with the window icon's own art: <folder>/<name>.svg for any size,
// <folder>/<side>.png for each side given, for the hicolor icon theme, and <folder>/<name>.ico with
// every side up to 256 in one file, for Windows.
#include "ui/Artwork.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QTextStream>

namespace {

constexpr int svgSide = 64; // the SVG's own unit square; it scales without loss

bool writeSvg(const QString &path, const QString &title)
{
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setTitle(title);
    svg.setSize(QSize(svgSide, svgSide));
    svg.setViewBox(QRect(0, 0, svgSide, svgSide));
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    paintIcon(painter, svgSide);
    return painter.end();
}

QImage drawn(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paintIcon(painter, side);
    painter.end();
    return image;
}

// An .ico whose entries are PNG images, which Windows reads since Vista: a 6-byte header, a 16-byte
// entry per image (sides up to 256, where 256 is written as 0), then the images. Little-endian.
bool writeIco(const QString &path, const QList<int> &sides)
{
    QList<QByteArray> images;
    for (int side : sides) {
        QByteArray png;
        QBuffer buffer(&png);
        if (side > 256 || !buffer.open(QIODevice::WriteOnly) || !drawn(side).save(&buffer, "PNG"))
            return false;
        images << png;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(images.size()); // reserved, type icon, count
    quint32 offset = 6 + 16 * quint32(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const auto side = quint8(sides[i] % 256);
        // width, height, no palette, reserved, one plane, 32 bits a pixel, size, where it starts
        out << side << side << quint8(0) << quint8(0) << quint16(1) << quint16(32)
            << quint32(images[i].size()) << offset;
        offset += quint32(images[i].size());
    }
    for (const QByteArray &png : std::as_const(images))
        out.writeRawData(png.constData(), int(png.size()));
    return out.status() == QDataStream::Ok && file.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    QTextStream err(stderr);
    if (arguments.size() < 3) {
        err << "usage: dravoicons <folder> <name> [side]...\n";
        return 2;
    }
    const QDir folder(arguments.at(1));
    if (!folder.mkpath(QStringLiteral("."))) {
        err << "could not make " << folder.path() << "\n";
        return 1;
    }
    const QString svgPath = folder.filePath(arguments.at(2) + QStringLiteral(".svg"));
    if (!writeSvg(svgPath, arguments.at(2))) {
        err << "could not write " << svgPath << "\n";
        return 1;
    }
    QList<int> icoSides;
    for (const QString &side : arguments.mid(3)) {
        const QString pngPath = folder.filePath(side + QStringLiteral(".png"));
        if (side.toInt() <= 0 || !drawn(side.toInt()).save(pngPath)) {
            err << "could not write " << pngPath << "\n";
            return 1;
        }
        if (side.toInt() <= 256)
            icoSides << side.toInt();
    }
    const QString icoPath = folder.filePath(arguments.at(2) + QStringLiteral(".ico"));
    if (!writeIco(icoPath, icoSides)) {
        err << "could not write " << icoPath << "\n";
        return 1;
    }
    return 0;
}
