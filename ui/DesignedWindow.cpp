#include "DesignedWindow.h"

#include "DesignFont.h"
#include "ProgramIcon.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

#include <optional>

namespace {

// Where a window first opens: over the window it belongs to while that one
// is on the screen, client area over client area, as frames may not be known
// yet; otherwise in the middle of its screen. The frame is known there on
// most platforms, and only after mapping on X11; then the client area is
// centred.
void OpenInTheMiddle(QWidget& window)
{
    const QWidget* owner = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    if (owner && owner->isVisible()) {
        window.setGeometry(
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(), owner->geometry()));
        return;
    }
    window.move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.frameGeometry().size(),
                                    window.screen()->availableGeometry())
                    .topLeft());
}

// Puts the window in its place every time the game shows it, has its texts
// follow it to another screen, and lets it take the room a Wayland desktop
// gives it.
class WindowPlacement : public QObject
{
public:
    explicit WindowPlacement(QWidget& window) : QObject(&window), window(window)
    {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window.windowHandle() && event->type() == QEvent::Expose)
            SeeWhoDrawsTheFrame();
        if (watched != &window)
            return false;
        // The window system's own shows and hides (minimising, a restore
        // from the task bar) are the desktop's business.
        const bool byTheGame = !event->spontaneous();
        if (event->type() == QEvent::Show && byTheGame)
            Place();
        else if (event->type() == QEvent::Hide && byTheGame)
            kept = window.geometry().topLeft();
        return false;
    }

private:
    void Place()
    {
        if (!kept) {
            // Unless the program placed it before showing it: then the
            // window manager puts its frame there.
            if (!window.testAttribute(Qt::WA_Moved))
                OpenInTheMiddle(window);
            QWindow* handle = window.windowHandle();
            connect(handle, &QWindow::screenChanged, this, [this] { FollowScreen(window); });
            if (QGuiApplication::platformName() == QLatin1String("wayland")) {
                handle->installEventFilter(this);
                // The widget does not hear of every change (KWin's end of
                // full screen); its window does.
                connect(handle, &QWindow::windowStateChanged, this,
                        [this](Qt::WindowState state) { FillTheScreen(state); });
            }
            return;
        }
        // Shown again, the window comes back where the game hid it. A window
        // manager may keep a hidden window at its frame's corner (mutter), and
        // unplaced it would come back a title bar higher every match.
        window.setGeometry(QRect(*kept, window.size()));
    }

    // On Wayland, Qt draws the frame itself where the desktop does not
    // (GNOME, weston), with maximise and minimise buttons of its own, and a
    // desktop ends a program whose window keeps another size than the
    // maximised one: such a window takes whatever size it is given. Where
    // the desktop draws the frame (sway, KDE), the fixed size keeps the
    // window floating and without a maximise button. Qt has made its frame,
    // if it makes one, by the window's first exposure.
    void SeeWhoDrawsTheFrame()
    {
        window.windowHandle()->removeEventFilter(this);
        qtFrame = !window.windowHandle()->frameMargins().isNull();
        if (qtFrame)
            window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }

    // A desktop that draws the frame may still offer full screen (KWin), and
    // Qt holds the window to its fixed size in the corner of the screen
    // unless it may grow for as long as it is full screen.
    void FillTheScreen(Qt::WindowState state)
    {
        if (qtFrame)
            return;
        if (state == Qt::WindowFullScreen) {
            window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            window.resize(window.screen()->size());
        } else if (state == Qt::WindowNoState) {
            window.setFixedSize(window.minimumSize());
        }
    }

    QWidget& window;
    // Where the client area was when the game last hid the window.
    std::optional<QPoint> kept;
    bool qtFrame = false;
};

// Whether another window of the game is modal over this one.
bool BehindModalWindow(const QWidget& window)
{
    // X11 desktops do not even ask; Wayland desktops do (sway's kill,
    // GNOME's Alt+F4), and the game would end under the winner window.
    const QWidget* modal = QApplication::activeModalWidget();
    return modal && modal != &window;
}

} // namespace

Qt::WindowFlags FixedFrame(Qt::WindowType type)
{
    return type | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
           | Qt::WindowCloseButtonHint;
}

QWidget* DesignWindow(QWidget& window, const QString& title, int width, int height)
{
    window.setWindowTitle(title);
    window.setWindowIcon(ProgramIcon());
    window.setFixedSize(width, height);
    QPalette black = window.palette();
    black.setColor(QPalette::Window, Qt::black);
    window.setPalette(black);
    window.setAutoFillBackground(true);

    // Where the desktop gives the window more room than designed, the
    // layout stays whole in its middle, on the window's black.
    auto* design = new QWidget(&window);
    design->setFixedSize(width, height);
    auto* centred = new QHBoxLayout(&window);
    centred->setContentsMargins(QMargins());
    centred->addWidget(design, 0, Qt::AlignCenter);

    new WindowPlacement(window);
    return design;
}

bool AcceptClose(const QWidget& window, QCloseEvent& event)
{
    event.setAccepted(!BehindModalWindow(window));
    return event.isAccepted();
}
