#include "Form3.h"

#include "Controls.h"
#include "OutlineShape.h"
#include "Rounding.h"

#include <QLabel>

namespace {

// Rows stand 25 2/3 pixels apart: the row height and two thirds of a pixel.
constexpr int RowGapThirds = 2;

} // namespace

Form3::Form3(QWidget* parent)
    : FixedDialog(QStringLiteral("Q.V.Z Klikvar"), 417, 290, parent)
{
    Shape1 = MakeOutline(QStringLiteral("Shape1"), Qt::white, QRect(8, 8, 401, 273), design);

    Label1 = MakeLabel(QStringLiteral("Label1"), QStringLiteral("...a vítězem je..."),
                       QRect(56, 16, 289, 33), BigText, Qt::AlignHCenter, design);
    SetTextColor(Label1, Qt::white);

    QLabel* first = MakeLabel(FamilyName("Label2", 0), QStringLiteral("Hráč 1"),
                              QRect(88, 88, 233, 25), BigText, Qt::AlignHCenter, design);
    SetTextColor(first, Qt::white);
    Label2.push_back(first);
    lastRowTopThirds = 3 * first->y();
}

void Form3::AddWinner(const QString& name, const QColor& color)
{
    ++winners;
    if (winners == 1) {
        Label2[0]->setText(name);
        SetTextColor(Label2[0], color);
        Shape1->SetBorderColor(color);
        return;
    }
    const QRect model = Label2[0]->geometry();
    lastRowTopThirds += 3 * model.height() + RowGapThirds;
    const QRect row(model.x(), RoundHalfEven(lastRowTopThirds / 3.0), model.width(), model.height());
    QLabel* label = MakeLabel(FamilyName("Label2", int(Label2.size())), name, row, BigText,
                              Qt::AlignHCenter, design);
    SetTextColor(label, color);
    label->show();
    Label2.push_back(label);
}
