#include "ClosingWindow.h"

#include "Controls.h"
#include "DesignFont.h"
#include "OutlineShape.h"

#include <QLabel>

namespace {

constexpr int Width = 326;
constexpr qreal WindowText = 8; // the setup window's small text

} // namespace

ClosingWindow::ClosingWindow(const QString& line, QWidget* parent)
    : FixedDialog(QStringLiteral("Q.V.Z Klikvar – konec hry"), Width, 72, parent)
{
    SetDesignFont(this, WindowText);
    MakeOutline(QStringLiteral("Shape1"), Qt::white, QRect(8, 8, Width - 16, 56), design);
    Label1 = MakeWhiteLabel(QStringLiteral("Label1"), line, QRect(16, 16, Width - 32, 40), WindowText,
                            Qt::AlignCenter, design);
    closesItself.setSingleShot(true);
    connect(&closesItself, &QTimer::timeout, this, &QDialog::accept);
    closesItself.start(ShownMs);
}
