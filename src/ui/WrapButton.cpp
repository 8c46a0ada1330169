#include "ui/WrapButton.h"

#include "ui/TextFit.h"

#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

WrapButton::WrapButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize WrapButton::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    const QSize caption(twoLineWidth(metrics, text()), 2 * metrics.lineSpacing());
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, caption, this);
}

QSize WrapButton::minimumSizeHint() const { return sizeHint(); }

void WrapButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.drawItemText(area, Qt::AlignCenter | Qt::TextWordWrap, palette(), isEnabled(), caption,
                         QPalette::ButtonText);
}

void WrapButton::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || event->modifiers() & ~Qt::KeypadModifier) {
        QPushButton::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat()) // a held key starts one action, not one after the other
        click();
    event->accept();
}
