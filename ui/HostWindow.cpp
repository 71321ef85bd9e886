#include "HostWindow.h"

#include "Controls.h"
#include "DesignFont.h"
#include "OutlineShape.h"

#include <QEvent>
#include <QLabel>

namespace {

constexpr int Width = 326;
constexpr qreal WindowText = 8; // the setup window's small text
constexpr int RowHeight = 20;
constexpr int Players = 6;

} // namespace

HostWindow::HostWindow(QWidget* parent)
    : FixedDialog(QStringLiteral("Q.V.Z Klikvar – hra po síti"), Width, 464, parent)
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

    MakeOutline(QStringLiteral("Shape3"), Qt::white, QRect(8, 232, Width - 16, 152), design);
    QLabel* owners = MakeLabel(QStringLiteral("Label6"), QStringLiteral("Kdo řídí hráče (klepnutím předáte dál):"),
                               QRect(16, 240, Width - 32, 17), WindowText, Qt::AlignLeft, design);
    SetTextColor(owners, Qt::white);
    for (int player = 0; player < Players; ++player) {
        QLabel* label = MakeLabel(FamilyName("Label5", player), QString(),
                                  QRect(16, 260 + RowHeight * player, Width - 32, RowHeight), WindowText,
                                  Qt::AlignLeft, design);
        SetTextColor(label, Qt::white);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
        Label5.append(label);
    }

    // Up to eight names, on as many lines as they need.
    MakeOutline(QStringLiteral("Shape4"), Qt::white, QRect(8, 392, Width - 16, 64), design);
    Label7 = MakeLabel(QStringLiteral("Label7"), QString(), QRect(16, 400, Width - 32, 52), WindowText,
                       Qt::AlignLeft, design);
    SetTextColor(Label7, Qt::white);
    ShowWatchers({});
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

void HostWindow::ShowWatchers(const QStringList& names)
{
    Label7->setText(QStringLiteral("Dívají se: %1")
                        .arg(names.isEmpty() ? QStringLiteral("nikdo") : names.join(QStringLiteral(", "))));
}

void HostWindow::ShowOwners(const QStringList& rows)
{
    for (int player = 0; player < Players; ++player)
        Label5[player]->setText(player < rows.size() ? rows[player] : QString());
}

bool HostWindow::eventFilter(QObject* watched, QEvent* event)
{
    // On the press, as the setup window's Start and Exit; a quick second
    // click comes as a double-click and hands the player on once more.
    const int player = int(Label5.indexOf(watched));
    if (player >= 0
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
        if (!Label5[player]->text().isEmpty())
            emit OwnerClicked(player + 1);
        return true;
    }
    return FixedDialog::eventFilter(watched, event);
}
