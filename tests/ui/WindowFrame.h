#pragma once

#include <QColor>
#include <QIcon>
#include <QPalette>
#include <QSize>
#include <QStringList>
#include <QWidget>

// What differs from the frame every window of the game is designed with: its
// title, a fixed client area, a black background, a close box as the only
// button and the program's icon. Empty when nothing does.
inline QString FrameDifferences(const QWidget& window, const QString& title, QSize clientArea)
{
    QStringList differences;
    if (window.windowTitle() != title)
        differences << QStringLiteral("title \"%1\"").arg(window.windowTitle());
    if (window.size() != clientArea || window.minimumSize() != window.maximumSize())
        differences << QStringLiteral("size %1 x %2, not fixed at the design")
                           .arg(window.width()).arg(window.height());
    if (window.palette().color(QPalette::Window) != QColor(Qt::black) || !window.autoFillBackground())
        differences << QStringLiteral("background not black");
    const Qt::WindowFlags flags = window.windowFlags();
    if (!flags.testFlag(Qt::WindowCloseButtonHint))
        differences << QStringLiteral("no close box");
    if (flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
                 | Qt::WindowContextHelpButtonHint))
        differences << QStringLiteral("more buttons than the close box");
    if (window.windowIcon().pixmap(32, 32).isNull())
        differences << QStringLiteral("no icon");
    return differences.join(QStringLiteral("; "));
}
