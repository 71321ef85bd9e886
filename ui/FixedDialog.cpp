#include "FixedDialog.h"

#include "Controls.h"

#include <QKeyEvent>

FixedDialog::FixedDialog(const QString& title, int width, int height, QWidget* parent)
    : QDialog(parent, FixedFrame(Qt::Dialog))
{
    DesignWindow(*this, title, width, height);
}

void FixedDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreWhenFirstShown(*this, placed);
}

bool FixedDialog::event(QEvent* event)
{
    DesignedWindowEvent(*this, event);
    return QDialog::event(event);
}

void FixedDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
