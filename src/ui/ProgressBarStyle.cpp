#include "ui/ProgressBarStyle.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOption>

ProgressBarStyle::ProgressBarStyle(QObject *owner) : QProxyStyle(QApplication::style()->name())
{
    setParent(owner);
}

void ProgressBarStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                   const QWidget *widget) const
{
    if (element != CE_ProgressBarGroove) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const qreal ratio = painter->device()->devicePixelRatioF();
    const QString key = QStringLiteral("%1x%2@%3 %4 %5 %6")
                            .arg(option->rect.width())
                            .arg(option->rect.height())
                            .arg(ratio)
                            .arg(option->palette.cacheKey())
                            .arg(int(option->state))
                            .arg(int(option->direction));
    if (key != m_grooveKey) {
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
