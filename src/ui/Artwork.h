#pragma once
#include <QIcon>
#include <QPixmap>

class QPainter;

// The tool's own pictures, drawn as vector art so they stay sharp at every scale.

// A pipe with a flow sensor on top and a wave of water running through it.
QPixmap logoPixmap(QSize size, qreal devicePixelRatio);
// The same pipe and wave, reduced to what reads at icon sizes.
QIcon windowIconArt();
// Paints that icon into a square of `side` at the painter's origin, on any paint device
// (the installed icons are drawn from it).
void paintIcon(QPainter &painter, double side);
