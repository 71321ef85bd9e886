#include "Controls.h"

#include "DesignFont.h"
#include "OutlineShape.h"

#include <QLabel>
#include <QLineEdit>

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

QLabel* MakeWhiteLabel(const QString& name, const QString& caption, const QRect& geometry,
                       qreal pointSize, Qt::Alignment across, QWidget* parent)
{
    QLabel* label = MakeLabel(name, caption, geometry, pointSize, across, parent);
    SetTextColor(label, Qt::white);
    return label;
}

void PaintBox(QWidget* box, const QColor& color)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::WindowText, color);
    if (qobject_cast<QLineEdit*>(box)) {
        palette.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
        palette.setColor(QPalette::Base, Qt::black);
        palette.setColor(QPalette::Text, color);
    } else {
        palette.setColor(QPalette::Window, Qt::black);
    }
    box->setPalette(palette);
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
