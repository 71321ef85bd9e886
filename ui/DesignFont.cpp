#include "DesignFont.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QVariant>
#include <QWidget>

namespace {

const QString DesignedFamily = QStringLiteral("MS Sans Serif");
// Where a control keeps its designed point size.
const char* const DesignPoints = "designPoints";

void InstallSubstitutes()
{
    // Liberation Sans and Arimo have Arial's widths, closest to the design;
    // DejaVu Sans is wider but nearly always there.
    static const bool installed = [] {
        QFont::insertSubstitutions(DesignedFamily,
            {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
             QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
        return true;
    }();
    Q_UNUSED(installed);
}

// The designs count points at 96 dots per inch of layout, but a widget
// turns points into pixels at its screen's dots per inch, which keeps the
// fraction the scale was rounded from: 120 at 125 %, 72 at 150 %. Asking for
// proportionally more or fewer points gives the designed pixels at every scale.
qreal LayoutPoints(qreal pointSize, const QScreen* screen)
{
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return pointSize;
    // Widgets take the dots per inch as a whole number.
    const int screenDpi = qRound(screen->logicalDotsPerInchY());
    return screenDpi > 0 ? pointSize * 96 / screenDpi : pointSize;
}

void ApplyDesignFont(QWidget* control)
{
    const QVariant points = control->property(DesignPoints);
    if (points.isValid())
        control->setFont(DesignFont(points.toReal(), control->screen()));
}

} // namespace

QFont DesignFont(qreal pointSize, const QScreen* screen)
{
    InstallSubstitutes();
    QFont font(DesignedFamily);
    font.setPointSizeF(LayoutPoints(pointSize, screen));
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void SetDesignFont(QWidget* control, qreal pointSize)
{
    control->setProperty(DesignPoints, pointSize);
    ApplyDesignFont(control);
}

void FollowScreen(QWidget& window)
{
    ApplyDesignFont(&window);
    for (QWidget* control : window.findChildren<QWidget*>())
        if (!control->isWindow())
            ApplyDesignFont(control);
}
