#include "HostWindow.h"

#include "Controls.h"
#include "DesignFont.h"
#include "OutlineShape.h"

#include <QLabel>

namespace {

constexpr int Width = 326;
constexpr qreal WindowText = 8; // the setup window's small text
constexpr int RowHeight = 20;

} // namespace

HostWindow::HostWindow(QWidget* parent)
    : FixedDialog(QStringLiteral("Q.V.Z Klikvar – hra po síti"), Width, 232, parent)
{
    SetDesignFont(this, WindowText);
    MakeOutline(QStringLiteral("Shape1"), Qt::white, QRect(8, 8, Width - 16, 81), design);
    QLabel* heading = MakeLabel(QStringLiteral("Label1"), QStringLiteral("Připojení k této hře:"),
                                QRect(16, 16, Width - 32, 17), WindowText, Qt::AlignLeft, design);
    SetTextColor(heading, Qt::white);
    Label2 = MakeLabel(QStringLiteral("Label2"), QString(), QRect(16, 36, Width - 32, 49), WindowText,
                       Qt::AlignLeft, design);
    SetTextColor(Label2, Qt::white);

    MakeOutline(QStringLiteral("Shape2"), Qt::white, QRect(8, 96, Width - 16, 128), design);
    QLabel* joined = MakeLabel(QStringLiteral("Label4"), QStringLiteral("Připojené počítače:"),
                               QRect(16, 104, Width - 32, 17), WindowText, Qt::AlignLeft, design);
    SetTextColor(joined, Qt::white);
    for (int row = 0; row < Rows; ++row) {
        QLabel* label = MakeLabel(FamilyName("Label3", row), QString(),
                                  QRect(16, 124 + RowHeight * row, Width - 32, RowHeight), WindowText,
                                  Qt::AlignLeft, design);
        SetTextColor(label, Qt::white);
        Label3.append(label);
    }
    ShowComputers({});
}

void HostWindow::ShowJoinInfo(const QString& addresses, int port, int code)
{
    Label2->setText(QStringLiteral("adresa %1\nport %2, kód %3")
                        .arg(addresses)
                        .arg(port)
                        .arg(code, 4, 10, QLatin1Char('0')));
}

void HostWindow::ShowComputers(const QStringList& rows)
{
    for (int row = 0; row < Rows; ++row) {
        QString text = row < rows.size() ? rows[row] : QString();
        if (rows.isEmpty() && row == 0)
            text = QStringLiteral("zatím žádný");
        Label3[row]->setText(text);
    }
}
