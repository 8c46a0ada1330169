#pragma once
#include <QPushButton>

// A push button whose caption breaks onto two lines; text() stays the whole caption.
class WrapButton : public QPushButton
{
    Q_OBJECT
public:
    WrapButton(const QString &caption, QWidget *parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    // Return and Enter press the focused button, as Space does: Qt does so only in dialogs.
    void keyPressEvent(QKeyEvent *event) override;
};
