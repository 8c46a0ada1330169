#include "ui/GroupFrame.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

GroupFrame::GroupFrame(const QString &frameName, const QString &headingName, const QString &heading,
                       const QString &headingTip, QWidget *parent)
    : QFrame(parent), m_heading(new QLabel(heading, this))
{
    setObjectName(frameName);
    m_heading->setObjectName(headingName);
    m_heading->setToolTip(headingTip);
    QFont bold = m_heading->font();
    bold.setBold(true);
    m_heading->setFont(bold);
    // The heading covers the frame line behind it.
    m_heading->setAutoFillBackground(true);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(8, 0, 8, 8);
    auto *headingRow = new QHBoxLayout;
    headingRow->addSpacing(4);
    headingRow->addWidget(m_heading);
    headingRow->addStretch(1);
    column->addLayout(headingRow);
}

void GroupFrame::setContent(QLayout *content)
{
    static_cast<QVBoxLayout *>(layout())->addLayout(content, 1);
}

void GroupFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const int top = m_heading->geometry().center().y();
    painter.drawRect(QRect(0, top, width() - 1, height() - 1 - top));
}
