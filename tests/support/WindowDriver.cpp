#include "WindowDriver.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>

void chooseEntry(QComboBox *list, int row)
{
    list->showPopup();
    QAbstractItemView *view = list->view();
    view->setCurrentIndex(list->model()->index(row, list->modelColumn()));
    QTest::keyClick(view, Qt::Key_Return);
}

QColor shownColour(QWidget *widget, const QPoint &point)
{
    const QImage image = widget->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(QPoint(int(point.x() * ratio), int(point.y() * ratio)));
}
