#pragma once
#include <QPixmap>
#include <QProxyStyle>

// The progress bar's style: the application's own, except that the groove, which no step changes,
// is drawn from a picture made once per size, palette and state. Fusion strokes the groove with
// antialiased lines that Qt's raster engine splits across its thread pool; drawn afresh, every step
// woke several threads, most of what a step cost while the tool waited on the line. Same pixels.
class ProgressBarStyle : public QProxyStyle
{
    Q_OBJECT
public:
    // The base is the application's style of the moment; `owner` must outlive the bar.
    explicit ProgressBarStyle(QObject *owner);

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;

private:
    mutable QPixmap m_groove;
    mutable QString m_grooveKey;
};
