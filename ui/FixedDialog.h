#pragma once

#include <QDialog>

// The setup and winner windows: their designed size, black, the program's
// icon, a close box only, centred when first shown. Players leave them by their own
// controls or the close box; Esc is a game key and does not close them.
class FixedDialog : public QDialog
{
    Q_OBJECT

public:
    FixedDialog(const QString& title, int width, int height, QWidget* parent);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool placed = false;
};
