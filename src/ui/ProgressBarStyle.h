#pragma once
#include <QList>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleOptionProgressBar>

#include <array>
#include <optional>

// The progress bar's style: the application's own, drawn and placed from what it drew and placed
// before. Fusion strokes the groove and the chunk with antialiased paths, which cost most of what a
// step cost while the tool waited on the line (and the groove's lines woke Qt's raster thread
// pool): the groove is drawn once per size, palette and state, each chunk once per step (an action
// shows the same steps as the one before it). The bar asks at every step where its groove lies,
// and Fusion measured the text with the font engine each time to answer: the parts are placed once
// per size, font and state. Same pixels.
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
    void drawGroove(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
    bool drawKeptContents(const QStyleOptionProgressBar &bar, QPainter *painter, const QWidget *widget) const;

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
        QRect rect;
        qreal ratio = 0;
        qint64 palette = 0;
        QStyle::State state;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        bool opaque = false; // on the bar's own background, which it fills
        bool operator==(const GrooveKey &other) const;
    };
    mutable QPixmap m_groove;
    mutable GrooveKey m_grooveKey;

    // A chunk is drawn over the groove it lies in, as the base style draws it, so that its
    // antialiased edges blend as they would on the bar.
    struct ContentsKey
    {
        GrooveKey groove;
        QRect rect;
        QFontMetrics metrics;
        int minimum, maximum, progress;
        bool textVisible, inverted, bottomToTop;
        QString text;
        bool operator==(const ContentsKey &other) const;
    };
    mutable QList<std::pair<ContentsKey, QPixmap>> m_contents; // the last used first
};
