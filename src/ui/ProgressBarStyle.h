#pragma once
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleOptionProgressBar>

#include <array>
#include <optional>

// The progress bar's style: the application's own, except for what no step changes. The groove is
// drawn from a picture made once per size, palette and state: Fusion strokes it with antialiased
// lines that Qt's raster engine splits across its thread pool, and drawn afresh every step woke
// several threads. The bar's parts are placed once per size, font and state: at every step the bar
// asks where its groove lies (to decide whether to repaint) and Fusion measured the text with the
// font engine each time to answer. Same pixels.
class ProgressBarStyle : public QProxyStyle
{
    Q_OBJECT
public:
    // The base is the application's style of the moment; `owner` must outlive the bar.
    explicit ProgressBarStyle(QObject *owner);

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    QRect subElementRect(SubElement element, const QStyleOption *option,
                         const QWidget *widget = nullptr) const override;

private:
    // What the base style's answer may depend on: not the progress, nor the text while it is
    // centred over the bar.
    struct PartKey
    {
        QRect rect;
        QStyle::State state;
        Qt::LayoutDirection direction;
        QFontMetrics metrics;
        bool textVisible, inverted, bottomToTop;
        Qt::Alignment alignment;
        QString text;
        bool operator==(const PartKey &other) const;
    };
    struct Part
    {
        std::optional<PartKey> key;
        QRect rect;
    };
    mutable std::array<Part, 3> m_parts; // groove, contents, label

    struct GrooveKey
    {
        QSize size;
        qreal ratio = 0;
        qint64 palette = 0;
        QStyle::State state;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        bool operator==(const GrooveKey &other) const;
    };
    mutable QPixmap m_groove;
    mutable GrooveKey m_grooveKey;
};
