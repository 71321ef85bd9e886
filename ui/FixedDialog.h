#pragma once

#include <QDialog>

// The setup and winner windows: a designed window (DesignWindow) with a close box
// only. Players leave them by their own controls or the close box; Esc is a
// game key and does not close them.
class FixedDialog : public QDialog
{
    Q_OBJECT

public:
    FixedDialog(const QString& title, int width, int height, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;

    // Holds the controls, at their designed places.
    QWidget* const design;
};
