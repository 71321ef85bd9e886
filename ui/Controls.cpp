#include "Controls.h"

#include "DesignFont.h"
#include "OutlineShape.h"
#include "ProgramIcon.h"

#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace {

// Centres the window on its screen. The frame is known here on most
// platforms, and only after mapping on X11; then the client area is centred.
void CentreOnScreen(QWidget& window)
{
    const QRect screenArea = window.screen()->availableGeometry();
    const QSize outer = window.frameGeometry().size();
    window.move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, outer, screenArea).topLeft());
}

} // namespace

QString FamilyName(const char* family, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(family)).arg(index);
}

QLabel* MakeLabel(const QString& name, const QString& caption, const QRect& geometry,
                  qreal pointSize, Qt::Alignment across, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(DesignFont(pointSize));
    label->setAlignment(across | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

OutlineShape* MakeOutline(const QString& name, const QColor& color, const QRect& geometry,
                          QWidget* parent)
{
    auto* shape = new OutlineShape(color, parent);
    shape->setObjectName(name);
    shape->setGeometry(geometry);
    return shape;
}

void SetTextColor(QWidget* control, const QColor& color)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    control->setPalette(palette);
}

QColor TextColor(const QWidget* control)
{
    return control->palette().color(QPalette::WindowText);
}

Qt::WindowFlags FixedFrame(Qt::WindowType type)
{
    return type | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
           | Qt::WindowCloseButtonHint;
}

void DesignWindow(QWidget& window, const QString& title, int width, int height)
{
    window.setWindowTitle(title);
    window.setWindowIcon(ProgramIcon());
    window.setFixedSize(width, height);
    QPalette black = window.palette();
    black.setColor(QPalette::Window, Qt::black);
    window.setPalette(black);
    window.setAutoFillBackground(true);
}

void CentreWhenFirstShown(QWidget& window, bool& placed)
{
    if (placed)
        return;
    placed = true;
    CentreOnScreen(window);
}
