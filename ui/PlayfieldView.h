#pragma once

#include <QImage>
#include <QWidget>

class QKeyEvent;

// Shows the playfield image as it is, pixel for pixel, and passes the game
// keys on: the only widget of the game window that takes the focus.
class PlayfieldView : public QWidget
{
    Q_OBJECT

public:
    PlayfieldView(const QImage& image, QWidget* parent);

signals:
    void KeyDown(QKeyEvent* event);
    void KeyUp(QKeyEvent* event);
    // The keyboard went to another widget or window, or the window stopped
    // being the active one.
    void FocusLost();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Tab is nobody's key here, and there is nowhere to move the focus to.
    bool focusNextPrevChild(bool) override { return false; }

private:
    const QImage& image;
};
