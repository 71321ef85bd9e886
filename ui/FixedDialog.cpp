#include "FixedDialog.h"

#include "DesignedWindow.h"

#include <QKeyEvent>

FixedDialog::FixedDialog(const QString& title, int width, int height, QWidget* parent)
    : QDialog(parent, FixedFrame(Qt::Dialog)), design(DesignWindow(*this, title, width, height))
{
}

void FixedDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
