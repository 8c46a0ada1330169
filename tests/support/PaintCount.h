#pragma once
#include <QEvent>
#include <QWidget>

// The paint events that reach a widget and, with `inside`, every widget it holds. It listens to those
// widgets only: a filter on the whole application would also see every serial and timer event.
struct PaintCount : QObject
{
    explicit PaintCount(QWidget &widget, bool inside = false)
    {
        widget.installEventFilter(this);
        for (QWidget *child : inside ? widget.findChildren<QWidget *>() : QList<QWidget *>{})
            child->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::Paint;
        return false;
    }
    int count = 0;
};
