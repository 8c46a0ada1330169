#include "ui/ProgressBarStyle.h"

#include <QApplication>
#include <QPainter>

namespace {

// The steps of a few actions: a search over a handful of ports, a read, a write and its check.
constexpr qsizetype keptChunks = 64;

} // namespace

ProgressBarStyle::ProgressBarStyle(QObject *owner) : QProxyStyle(QApplication::style()->name())
{
    setParent(owner);
}

bool ProgressBarStyle::GrooveKey::operator==(const GrooveKey &other) const
{
    return rect == other.rect && ratio == other.ratio && palette == other.palette && state == other.state
        && direction == other.direction && opaque == other.opaque;
}

bool ProgressBarStyle::PartKey::operator==(const PartKey &other) const
{
    return rect == other.rect && state == other.state && direction == other.direction
        && metrics == other.metrics && textVisible == other.textVisible && inverted == other.inverted
        && bottomToTop == other.bottomToTop && alignment == other.alignment && text == other.text;
}

bool ProgressBarStyle::ContentsKey::operator==(const ContentsKey &other) const
{
    return groove == other.groove && rect == other.rect && metrics == other.metrics
        && minimum == other.minimum && maximum == other.maximum && progress == other.progress
        && textVisible == other.textVisible && inverted == other.inverted && bottomToTop == other.bottomToTop
        && text == other.text;
}

void ProgressBarStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                   const QWidget *widget) const
{
    const auto *bar = qstyleoption_cast<const QStyleOptionProgressBar *>(option);
    if (element == CE_ProgressBarGroove)
        drawGroove(option, painter, widget);
    else if (element != CE_ProgressBarContents || !bar || !drawKeptContents(*bar, painter, widget))
        QProxyStyle::drawControl(element, option, painter, widget);
}

void ProgressBarStyle::drawGroove(const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    // On the background the bar fills, the groove is the same picture wherever it is drawn; on
    // a transparent one its antialiased edges would blend a shade apart.
    const QBrush background = widget ? widget->palette().brush(widget->backgroundRole()) : QBrush();
    const bool opaque = widget && widget->autoFillBackground() && background.style() == Qt::SolidPattern
        && background.isOpaque();
    const qreal ratio = painter->device()->devicePixelRatioF();
    const GrooveKey key{option->rect, ratio, option->palette.cacheKey(), option->state, option->direction,
                        opaque};
    if (m_groove.isNull() || !(key == m_grooveKey)) {
        QPixmap groove(option->rect.size() * ratio);
        groove.setDevicePixelRatio(ratio);
        groove.fill(opaque ? background.color() : QColor(Qt::transparent));
        QPainter groovePainter(&groove);
        QStyleOptionProgressBar atOrigin;
        if (const auto *bar = qstyleoption_cast<const QStyleOptionProgressBar *>(option))
            atOrigin = *bar;
        else
            static_cast<QStyleOption &>(atOrigin) = *option;
        atOrigin.rect.moveTo(0, 0);
        QProxyStyle::drawControl(CE_ProgressBarGroove, &atOrigin, &groovePainter, widget);
        groovePainter.end();
        m_groove = groove;
        m_grooveKey = key;
        m_contents.clear();
    }
    painter->drawPixmap(option->rect.topLeft(), m_groove);
}

// Draws the chunk from a picture kept from an earlier step alike; false where it cannot be the same
// pixels (no opaque groove just drawn under it) or must move (a bar busy with no steps animates).
bool ProgressBarStyle::drawKeptContents(const QStyleOptionProgressBar &bar, QPainter *painter,
                                        const QWidget *widget) const
{
    if (bar.minimum == bar.maximum) {
        m_contents.clear(); // the next chunk drawn afresh, so that the style stops its animation
        return false;
    }
    const qreal ratio = painter->device()->devicePixelRatioF();
    if (m_groove.isNull() || !m_grooveKey.opaque || !m_grooveKey.rect.contains(bar.rect)
        || m_grooveKey.ratio != ratio || m_grooveKey.palette != bar.palette.cacheKey()
        || m_grooveKey.state != bar.state || m_grooveKey.direction != bar.direction)
        return false;
    const ContentsKey key{m_grooveKey,  bar.rect,         bar.fontMetrics,        bar.minimum,
                          bar.maximum, bar.progress,     bar.textVisible,        bar.invertedAppearance,
                          bar.bottomToTop, bar.text};
    auto kept = std::find_if(m_contents.begin(), m_contents.end(),
                             [&key](const auto &entry) { return entry.first == key; });
    if (kept != m_contents.end()) {
        m_contents.move(kept - m_contents.begin(), 0);
    } else {
        // The whole groove: a style may draw the last chunk a pixel beyond the contents' place.
        QPixmap contents = m_groove.copy();
        QPainter contentsPainter(&contents);
        QStyleOptionProgressBar atOrigin = bar;
        atOrigin.rect.translate(-m_grooveKey.rect.topLeft());
        QProxyStyle::drawControl(CE_ProgressBarContents, &atOrigin, &contentsPainter, widget);
        contentsPainter.end();
        m_contents.prepend({key, contents});
        if (m_contents.size() > keptChunks)
            m_contents.removeLast();
    }
    painter->drawPixmap(m_grooveKey.rect.topLeft(), m_contents.first().second);
    return true;
}

QRect ProgressBarStyle::subElementRect(SubElement element, const QStyleOption *option,
                                       const QWidget *widget) const
{
    const auto *bar = qstyleoption_cast<const QStyleOptionProgressBar *>(option);
    const int index = element == SE_ProgressBarGroove ? 0
        : element == SE_ProgressBarContents           ? 1
        : element == SE_ProgressBarLabel              ? 2
                                                      : -1;
    if (!bar || index < 0)
        return QProxyStyle::subElementRect(element, option, widget);
    const bool centred = (bar->textAlignment & Qt::AlignHCenter) != 0;
    PartKey key{bar->rect,        bar->state,      bar->direction,   bar->fontMetrics,
                bar->textVisible, bar->invertedAppearance, bar->bottomToTop, bar->textAlignment,
                centred ? QString() : bar->text};
    Part &part = m_parts[size_t(index)];
    if (!part.key || !(*part.key == key)) {
        part.rect = QProxyStyle::subElementRect(element, option, widget);
        part.key = std::move(key);
    }
    return part.rect;
}
