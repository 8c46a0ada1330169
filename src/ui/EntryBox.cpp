#include "ui/EntryBox.h"

#include <QStyleOptionFrame>

EntryBox::EntryBox(int maxChars, QWidget *parent) : QLineEdit(parent), m_maxChars(maxChars)
{
    setMaxLength(maxChars);
    connect(this, &QLineEdit::textChanged, this, &EntryBox::restoreLimit);
}

void EntryBox::showText(const QString &text)
{
    if (text.size() > maxLength())
        setMaxLength(text.size());
    setText(text);
}

void EntryBox::restoreLimit(const QString &text)
{
    if (text.size() <= m_maxChars && maxLength() != m_maxChars)
        setMaxLength(m_maxChars);
}

QSize EntryBox::sizeHint() const
{
    // Room for every allowed character plus one, so a full box never scrolls.
    const QFontMetrics metrics = fontMetrics();
    const QSize text(metrics.horizontalAdvance(QString(m_maxChars + 1, QLatin1Char('0'))),
                     metrics.height());
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QMargins margins = textMargins() + contentsMargins();
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option,
                                     text.grownBy(margins) + QSize(4, 2), this);
}
