#include "ui/TextFit.h"

#include <algorithm>

int twoLineWidth(const QFontMetrics &metrics, const QString &text)
{
    int best = metrics.horizontalAdvance(text);
    for (int i = text.indexOf(QLatin1Char(' ')); i >= 0; i = text.indexOf(QLatin1Char(' '), i + 1)) {
        const int widest = std::max(metrics.horizontalAdvance(text.left(i)),
                                    metrics.horizontalAdvance(text.mid(i + 1)));
        best = std::min(best, widest);
    }
    // Text layout rounds glyph positions; a couple of pixels keep the break where it was measured.
    return best + 2;
}
