// Draws the installed icons with the window icon's own art: <folder>/<name>.svg for any size and
// <folder>/<side>.png for each side given, for the hicolor icon theme.
#include "ui/Artwork.h"

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

bool writePng(const QString &path, int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paintIcon(painter, side);
    painter.end();
    return image.save(path);
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
    for (const QString &side : arguments.mid(3)) {
        const QString pngPath = folder.filePath(side + QStringLiteral(".png"));
        if (side.toInt() <= 0 || !writePng(pngPath, side.toInt())) {
            err << "could not write " << pngPath << "\n";
            return 1;
        }
    }
    return 0;
}
