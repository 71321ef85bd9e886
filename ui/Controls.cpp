#include "Controls.h"

#include "DesignFont.h"
#include "OutlineShape.h"
#include "ProgramIcon.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QVariant>
#include <QWindow>
#include <QWidget>

#include <algorithm>

namespace {

// How far a window's controls stand from their designed places.
const char* const DesignOffset = "designOffset";

// Centres the window on its screen. The frame is known here on most
// platforms, and only after mapping on X11; then the client area is centred.
void CentreOnScreen(QWidget& window)
{
    const QRect screenArea = window.screen()->availableGeometry();
    const QSize outer = window.frameGeometry().size();
    window.move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, outer, screenArea).topLeft());
}

// On Wayland, Qt draws the frame itself where the desktop does not (GNOME,
// weston), with maximise and minimise buttons of its own, and a desktop
// ends a program whose window keeps another size than the maximised one.
// Such a window takes whatever size it is given and keeps the designed
// layout in its middle. Where the desktop draws the frame (sway, KDE), the
// fixed size keeps the window floating and without a maximise button.
// Qt has made its frame, if it makes one, by the window's first exposure.
class QtFrameWatch : public QObject
{
public:
    QtFrameWatch(QWidget& window, QWindow& handle) : QObject(&handle), window(window)
    {
        handle.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && watched == parent()) {
            if (!static_cast<QWindow*>(watched)->frameMargins().isNull())
                window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    QWidget& window;
};

// Whether another window of the game is modal over this one.
bool BehindModalWindow(const QWidget& window)
{
    // X11 desktops do not even ask; Wayland desktops do (sway's kill,
    // GNOME's Alt+F4), and the game would end under the winner window.
    const QWidget* modal = QApplication::activeModalWidget();
    return modal && modal != &window;
}

// Where the desktop gives a window more room than designed, the designed
// layout stays whole in its middle, on the window's black.
void KeepDesignCentred(QWidget& window)
{
    const QSize spare = window.size() - window.minimumSize();
    const QPoint offset(std::max(0, spare.width() / 2), std::max(0, spare.height() / 2));
    const QPoint applied = window.property(DesignOffset).toPoint();
    if (offset == applied)
        return;
    for (QWidget* control : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!control->isWindow())
            control->move(control->pos() + offset - applied);
    window.setProperty(DesignOffset, offset);
}

void TakeSizesFromQtsFrame(QWidget& window)
{
    QWindow* handle = window.windowHandle();
    if (handle && QGuiApplication::platformName() == QLatin1String("wayland"))
        new QtFrameWatch(window, *handle);
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
    SetDesignFont(label, pointSize);
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
    TakeSizesFromQtsFrame(window);
}

bool AcceptClose(const QWidget& window, QCloseEvent& event)
{
    event.setAccepted(!BehindModalWindow(window));
    return event.isAccepted();
}

void DesignedWindowEvent(QWidget& window, const QEvent* event)
{
    switch (event->type()) {
    case QEvent::Resize:
        KeepDesignCentred(window);
        break;
    case QEvent::ScreenChangeInternal:
        FollowScreen(window);
        break;
    default:
        break;
    }
}
