#include "ui/ProgressBarStyle.h"

#include <QApplication>
#include <QPainter>

ProgressBarStyle::ProgressBarStyle(QObject *owner) : QProxyStyle(QApplication::style()->name())
{
    setParent(owner);
}

bool ProgressBarStyle::GrooveKey::operator==(const GrooveKey &other) const
{
    return size == other.size && ratio == other.ratio && palette == other.palette && state == other.state
        && direction == other.direction;
}

bool ProgressBarStyle::PartKey::operator==(const PartKey &other) const
{
    return rect == other.rect && state == other.state && direction == other.direction
        && metrics == other.metrics && textVisible == other.textVisible && inverted == other.inverted
        && bottomToTop == other.bottomToTop && alignment == other.alignment && text == other.text;
}

void ProgressBarStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                   const QWidget *widget) const
{
    if (element != CE_ProgressBarGroove) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const qreal ratio = painter->device()->devicePixelRatioF();
    const GrooveKey key{option->rect.size(), ratio, option->palette.cacheKey(), option->state,
                        option->direction};
    if (m_groove.isNull() || !(key == m_grooveKey)) {
        QPixmap groove(option->rect.size() * ratio);
        groove.setDevicePixelRatio(ratio);
        groove.fill(Qt::transparent);
        QPainter groovePainter(&groove);
        QStyleOptionProgressBar atOrigin;
        if (const auto *bar = qstyleoption_cast<const QStyleOptionProgressBar *>(option))
            atOrigin = *bar;
        else
            static_cast<QStyleOption &>(atOrigin) = *option;
        atOrigin.rect.moveTo(0, 0);
        QProxyStyle::drawControl(element, &atOrigin, &groovePainter, widget);
        groovePainter.end();
        m_groove = groove;
        m_grooveKey = key;
    }
    painter->drawPixmap(option->rect.topLeft(), m_groove);
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
