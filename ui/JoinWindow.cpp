#include "JoinWindow.h"

#include "Controls.h"
#include "DesignFont.h"
#include "OutlineShape.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpressionValidator>

namespace {

constexpr int Width = 326;
constexpr qreal WindowText = 8; // the setup window's small text
constexpr int NameLength = 8;   // as the setup window's name boxes

QLabel* WhiteLabel(const char* name, const QString& caption, const QRect& geometry, qreal size,
                   Qt::Alignment across, QWidget* parent)
{
    return MakeWhiteLabel(QLatin1String(name), caption, geometry, size, across, parent);
}

QLineEdit* Box(const char* name, const QRect& geometry, int maxLength, const QString& allowed, QWidget* parent)
{
    auto* box = MakeBox<QLineEdit>(QLatin1String(name), QString(), geometry, Qt::white, parent);
    box->setMaxLength(maxLength);
    if (!allowed.isEmpty())
        box->setValidator(new QRegularExpressionValidator(QRegularExpression(allowed), box));
    return box;
}

} // namespace

JoinWindow::JoinWindow(QWidget* parent)
    : FixedDialog(QStringLiteral("Q.V.Z Klikvar – připojit se ke hře"), Width, 360, parent)
{
    SetDesignFont(this, WindowText);
    MakeOutline(QStringLiteral("Shape1"), Qt::white, QRect(8, 8, Width - 16, 112), design);
    WhiteLabel("Label1", QStringLiteral("Hry nalezené v místní síti:"), QRect(16, 14, Width - 32, 17), WindowText,
               Qt::AlignLeft, design);
    List1 = new QListWidget(design);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(16, 32, Width - 32, 80);
    List1->setFrameShape(QFrame::NoFrame);
    QPalette palette = List1->palette();
    palette.setColor(QPalette::Base, Qt::black);
    palette.setColor(QPalette::Text, Qt::white);
    palette.setColor(QPalette::Highlight, Qt::white);
    palette.setColor(QPalette::HighlightedText, Qt::black);
    List1->setPalette(palette);
    connect(List1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < games.size())
            Text1->setText(games[row].address);
    });

    MakeOutline(QStringLiteral("Shape2"), Qt::white, QRect(8, 128, Width - 16, 136), design);
    const char* const captions[] = {"Adresa hostitele:", "Kód hry:", "Jméno:", "Hráčů u počítače:"};
    const char* const names[] = {"Label2", "Label3", "Label4", "Label5"};
    for (int i = 0; i < 4; ++i)
        WhiteLabel(names[i], QString::fromUtf8(captions[i]), QRect(16, 138 + 24 * i, 120, 17), WindowText,
                   Qt::AlignLeft, design);
    Text1 = Box("Text1", QRect(136, 136, Width - 152, 19), 255, QString(), design);
    Text2 = Box("Text2", QRect(136, 160, 57, 19), 4, QStringLiteral("[0-9]{0,4}"), design);
    Text3 = Box("Text3", QRect(136, 184, 113, 19), NameLength, QString(), design);
    Text4 = Box("Text4", QRect(136, 208, 25, 19), 1, QStringLiteral("[1-4]?"), design);
    Text4->setText(QStringLiteral("1"));
    Check1 = MakeBox<QCheckBox>(QStringLiteral("Check1"), QStringLiteral("Jen se dívat"),
                                QRect(16, 236, Width - 32, 17), Qt::white, design);

    MakeOutline(QStringLiteral("Shape3"), Qt::white, QRect(8, 272, Width - 16, 41), design);
    Label6 = WhiteLabel("Label6", QStringLiteral("Připojit"), QRect(8, 280, Width - 16, 25), BigText,
                        Qt::AlignHCenter, design);
    Label6->installEventFilter(this);
    Label7 = WhiteLabel("Label7", QString(), QRect(8, 318, Width - 16, 36), WindowText, Qt::AlignHCenter, design);

    setTabOrder(Text1, Text2);
    setTabOrder(Text2, Text3);
    setTabOrder(Text3, Text4);
    setTabOrder(Text4, Check1);
}

void JoinWindow::ShowGames(const QList<Game>& shown)
{
    const QString chosen = List1->currentRow() >= 0 && List1->currentRow() < games.size()
        ? games[List1->currentRow()].address
        : QString();
    // The list is refilled every second: no choosing meanwhile.
    const QSignalBlocker quiet(List1);
    games = shown;
    List1->clear();
    for (const Game& game : games) {
        List1->addItem(game.row);
        if (game.address == chosen)
            List1->setCurrentRow(int(List1->count() - 1));
    }
    if (games.isEmpty())
        List1->addItem(QStringLiteral("zatím žádná"));
}

void JoinWindow::ShowAnswer(const QString& line)
{
    Label7->setText(line);
}

void JoinWindow::SetConnecting(bool now)
{
    connecting = now;
    if (now)
        ShowAnswer(QStringLiteral("Připojuji…"));
}

bool JoinWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label6
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
        if (!connecting)
            emit ConnectChosen();
        return true;
    }
    return FixedDialog::eventFilter(watched, event);
}

void JoinWindow::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !connecting) {
        emit ConnectChosen();
        return;
    }
    FixedDialog::keyPressEvent(event);
}
