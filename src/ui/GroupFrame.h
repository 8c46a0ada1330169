#pragma once
#include <QFrame>

class QLabel;
class QLayout;

// One framed group of the window: a rectangle with a bold heading label across its top edge.
class GroupFrame : public QFrame
{
    Q_OBJECT
public:
    GroupFrame(const QString &frameName, const QString &headingName, const QString &heading,
               const QString &headingTip, QWidget *parent);

    void setContent(QLayout *content);
    QLabel *heading() const { return m_heading; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_heading;
};
