#include "ui/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

const QColor steelLight(226, 231, 236);
const QColor steelDark(92, 104, 118);
const QColor water(30, 120, 215);
const QColor ink(20, 40, 80);
constexpr double pi = 3.14159265358979323846; // M_PI is not standard C++

QPainterPath wave(const QRectF &band, double periods)
{
    QPainterPath path(QPointF(band.left(), band.bottom()));
    const int steps = 48;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        const double y = band.center().y() + band.height() / 4 * std::sin(t * periods * 2 * pi);
        path.lineTo(band.left() + t * band.width(), y);
    }
    path.lineTo(band.bottomRight());
    path.closeSubpath();
    return path;
}

// A horizontal pipe filling `pipe`, with flanges at both ends and water in its lower part.
void paintPipe(QPainter &painter, const QRectF &pipe, double flangeWidth)
{
    QLinearGradient metal(pipe.topLeft(), pipe.bottomLeft());
    metal.setColorAt(0, steelDark);
    metal.setColorAt(0.35, steelLight);
    metal.setColorAt(1, steelDark);
    painter.setPen(QPen(ink, std::max(1.0, pipe.height() / 24)));
    painter.setBrush(metal);
    painter.drawRect(pipe);

    const QRectF bore = pipe.adjusted(flangeWidth, pipe.height() * 0.2, -flangeWidth, -pipe.height() * 0.2);
    painter.setBrush(QColor(245, 248, 252));
    painter.drawRect(bore);
    painter.setPen(Qt::NoPen);
    painter.setBrush(water);
    painter.drawPath(wave(bore.adjusted(0, bore.height() * 0.25, 0, 0), 2));

    const double flangeHeight = pipe.height() * 0.18;
    painter.setPen(QPen(ink, std::max(1.0, pipe.height() / 24)));
    painter.setBrush(steelDark);
    for (double left : {pipe.left(), pipe.right() - flangeWidth})
        painter.drawRect(
            QRectF(left, pipe.top() - flangeHeight, flangeWidth, pipe.height() + 2 * flangeHeight));
}

void paintLogo(QPainter &painter, const QRectF &area)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);

    const double unit = area.height() / 10;
    const QRectF pipe(area.left() + unit, area.top() + 5 * unit, area.width() - 2 * unit, 3.4 * unit);
    paintPipe(painter, pipe, unit);

    // The sensor: a head on a short stem, with a display showing a rising trace.
    const QRectF stem(pipe.center().x() - unit * 0.6, area.top() + 3.6 * unit, unit * 1.2, 1.5 * unit);
    const QRectF head(pipe.center().x() - 3 * unit, area.top() + 0.6 * unit, 6 * unit, 3.2 * unit);
    painter.setPen(QPen(ink, unit / 4));
    painter.setBrush(steelDark);
    painter.drawRect(stem);
    painter.setBrush(QColor(250, 180, 40));
    painter.drawRoundedRect(head, unit * 0.6, unit * 0.6);
    const QRectF display = head.adjusted(unit * 0.8, unit * 0.7, -unit * 0.8, -unit * 0.7);
    painter.setBrush(QColor(30, 50, 40));
    painter.drawRect(display);
    painter.setPen(QPen(QColor(90, 240, 120), unit / 4));
    painter.drawPolyline(QPolygonF({display.bottomLeft() + QPointF(unit * 0.4, -unit * 0.4),
                                    display.center() + QPointF(-unit * 0.4, unit * 0.2),
                                    display.center() + QPointF(unit * 0.6, -unit * 0.2),
                                    display.topRight() + QPointF(-unit * 0.4, unit * 0.4)}));

    // Flow arrows on both sides of the sensor.
    painter.setPen(QPen(water, unit / 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (double x : {area.left() + 2 * unit, head.right() + 1.5 * unit}) {
        const double y = area.top() + 2.4 * unit;
        const double length = std::min(head.left() - area.left() - 3.5 * unit, 5 * unit);
        if (length <= unit)
            continue;
        painter.drawLine(QPointF(x, y), QPointF(x + length, y));
        painter.drawLine(QPointF(x + length, y), QPointF(x + length - unit, y - unit));
        painter.drawLine(QPointF(x + length, y), QPointF(x + length - unit, y + unit));
    }
}

QPixmap iconPixmap(int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paintIcon(painter, side);
    return pixmap;
}

} // namespace

void paintIcon(QPainter &painter, double side)
{
    painter.setRenderHint(QPainter::Antialiasing);
    const double unit = side / 16.0;
    paintPipe(painter, QRectF(unit, 5 * unit, 14 * unit, 7 * unit), 2 * unit);
}

QPixmap logoPixmap(QSize size, qreal devicePixelRatio)
{
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&pixmap);
    paintLogo(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

QIcon windowIconArt()
{
    QIcon icon;
    for (int side : {16, 32, 48, 64, 128})
        icon.addPixmap(iconPixmap(side));
    return icon;
}
