#include "DesignFont.h"

#include <QStringList>

namespace {

const QString DesignedFamily = QStringLiteral("MS Sans Serif");

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

} // namespace

QFont DesignFont(qreal pointSize)
{
    InstallSubstitutes();
    QFont font(DesignedFamily);
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
