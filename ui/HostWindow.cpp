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

// The window's texts: white, small, left-aligned, as wide as the window's
// outlines hold.
QLabel* WhiteText(const QString& name, const QString& text, int top, int height, QWidget* design)
{
    return MakeWhiteLabel(name, text, QRect(16, top, Width - 32, height), WindowText, Qt::AlignLeft, design);
}

// A heading and a row of text under it for each of count.
QList<QLabel*> HeadedRows(const QString& headingName, const QString& heading, const char* family, int count,
                          int top, QWidget* design)
{
    WhiteText(headingName, heading, top, 17, design);
    QList<QLabel*> rows;
    for (int row = 0; row < count; ++row)
        rows.append(WhiteText(FamilyName(family, row), QString(), top + 20 + RowHeight * row, RowHeight, design));
    return rows;
}

} // namespace

HostWindow::HostWindow(QWidget* parent)
    : FixedDialog(QStringLiteral("Q.V.Z Klikvar – hra po síti"), Width, 464, parent)
{
    SetDesignFont(this, WindowText);
    MakeOutline(QStringLiteral("Shape1"), Qt::white, QRect(8, 8, Width - 16, 81), design);
    WhiteText(QStringLiteral("Label1"), QStringLiteral("Připojení k této hře:"), 16, 17, design);
    Label2 = WhiteText(QStringLiteral("Label2"), QString(), 36, 49, design);

    MakeOutline(QStringLiteral("Shape2"), Qt::white, QRect(8, 96, Width - 16, 128), design);
    Label3 = HeadedRows(QStringLiteral("Label4"), QStringLiteral("Připojené počítače:"), "Label3", Rows, 104, design);
    ShowComputers({});

    MakeOutline(QStringLiteral("Shape3"), Qt::white, QRect(8, 232, Width - 16, 152), design);
    Label5 = HeadedRows(QStringLiteral("Label6"), QStringLiteral("Kdo řídí hráče (klepnutím předáte dál):"), "Label5",
                        Players, 240, design);
    for (QLabel* label : std::as_const(Label5)) {
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
    }

    // Up to eight names, on as many lines as they need.
    MakeOutline(QStringLiteral("Shape4"), Qt::white, QRect(8, 392, Width - 16, 64), design);
    Label7 = WhiteText(QStringLiteral("Label7"), QString(), 400, 52, design);
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
