#pragma once
#include <QFontMetrics>
#include <QString>

// The narrowest width at which a caption fits on at most two lines, broken at one blank.
int twoLineWidth(const QFontMetrics &metrics, const QString &text);
