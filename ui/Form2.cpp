#include "Form2.h"

#include "ColorRef.h"
#include "Controls.h"
#include "DesignedWindow.h"
#include "DesignFont.h"
#include "OutlineShape.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

#include <algorithm>
#include <limits>

namespace {

constexpr int NameLength = 8;
// The window's own font, for every control without a font of its own.
constexpr qreal WindowText = 8;

const QColor WhiteText = ToQColor(White);
const QColor YellowText = ToQColor(0x00FFFF);
const QColor LightGreyText = ToQColor(0xE0E0E0);

const char* const KeyHelp[] = {
    "Hráč 1: Šipka doprava, šipka doleva",
    "Hráč 2: Q,W",
    "Hráč 3: V,B",
    "Hráč 4: O,P",
    "Hráč 5: +,-",
    "Hráč 6: 1,2",
};

} // namespace

Form2::Form2(QWidget* parent)
    : FixedDialog(QStringLiteral("Q.V.Z Klikvar v1.01"), 326, 392, parent)
{
    SetDesignFont(this, WindowText);
    // Moving over the background (outlines included) takes the highlight off
    // Start and Exit; the design under the controls passes the moves on.
    setMouseTracking(true);
    design->setMouseTracking(true);

    for (int i = 0; i < Slots; ++i) {
        const QColor slotColor = ToQColor(PlayerColors[i]);
        const int offset = RowStep * i;
        Shape1[i] = MakeOutline(FamilyName("Shape1", i), slotColor, QRect(8, 8 + offset, 129, 57), design);
        Text1[i] = MakeBox<QLineEdit>(FamilyName("Text1", i), QStringLiteral("Hráč %1").arg(i + 1),
                               QRect(16, 40 + offset, 113, 19), slotColor, design);
        Text1[i]->setMaxLength(NameLength);
    }
    for (int j = 0; j < OptionalPlayers; ++j) {
        Check1[j] = MakeBox<QCheckBox>(FamilyName("Check1", j), QStringLiteral("Hraju také!"),
                                QRect(16, 144 + RowStep * j, 113, 17),
                                ToQColor(PlayerColors[j + 2]), design);
        connect(Check1[j], &QCheckBox::toggled, this, [this, j] { Check1_Click(j); });
    }

    Shape2 = MakeOutline(QStringLiteral("Shape2"), WhiteText, QRect(144, 8, 177, 121), design);
    Check2[0] = MakeBox<QCheckBox>(FamilyName("Check2", 0), QStringLiteral("Jezdit skrz"),
                            QRect(152, 16, 161, 25), WhiteText, design);
    Check2[1] = MakeBox<QCheckBox>(FamilyName("Check2", 1), QStringLiteral("Závaly"),
                            QRect(152, 48, 161, 25), WhiteText, design);
    for (QCheckBox* option : Check2)
        SetDesignFont(option, BigText);
    Label1 = MakeLabel(QStringLiteral("Label1"), QStringLiteral("Počet kol:"),
                       QRect(160, 80, 145, 17), WindowText, Qt::AlignHCenter, design);
    SetTextColor(Label1, LightGreyText);
    Text2 = MakeBox<QLineEdit>(QStringLiteral("Text2"), QStringLiteral("25"), QRect(160, 96, 145, 25),
                        WhiteText, design);
    SetDesignFont(Text2, BigText);
    Text2->setMaxLength(std::numeric_limits<int>::max());

    Shape4 = MakeOutline(QStringLiteral("Shape4"), WhiteText, QRect(144, 136, 177, 177), design);
    Label4 = MakeLabel(QStringLiteral("Label4"), QStringLiteral("Ovládání:"),
                       QRect(144, 144, 177, 17), WindowText, Qt::AlignLeft, design);
    SetTextColor(Label4, WhiteText);
    for (int k = 0; k < Slots; ++k) {
        Label3[k] = MakeLabel(FamilyName("Label3", k), QString::fromUtf8(KeyHelp[k]),
                              QRect(144, 168 + 24 * k, 177, 17), WindowText, Qt::AlignLeft, design);
        SetTextColor(Label3[k], ToQColor(PlayerColors[k]));
    }

    Shape3 = MakeOutline(QStringLiteral("Shape3"), WhiteText, QRect(144, 320, 177, 65), design);
    const char* const commands[] = {"Start", "Exit"};
    for (int i = 0; i < 2; ++i) {
        Label2[i] = MakeLabel(FamilyName("Label2", i), QLatin1String(commands[i]),
                              QRect(144, 328 + 32 * i, 177, 25), BigText, Qt::AlignHCenter, design);
        SetTextColor(Label2[i], WhiteText);
        Label2[i]->setMouseTracking(true);
        Label2[i]->installEventFilter(this);
    }

    // A move over a box or a label is that control's own, never the
    // background's; tick boxes would otherwise pass theirs on.
    for (QWidget* control : design->findChildren<QWidget*>())
        if (!qobject_cast<OutlineShape*>(control))
            control->setAttribute(Qt::WA_NoMousePropagation);

    // Only the boxes take the focus, names first, then the players, the
    // options and the rounds.
    QList<QWidget*> tabOrder(Text1.begin(), Text1.end());
    tabOrder << QList<QWidget*>(Check1.begin(), Check1.end())
             << QList<QWidget*>(Check2.begin(), Check2.end()) << Text2;
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    Text1[0]->setFocus();
}

QString Form2::PlayerName(int slot) const
{
    return Text1[slot]->text();
}

int Form2::TickedPlayers() const
{
    return int(std::count_if(Check1.begin(), Check1.end(),
                             [](const QCheckBox* box) { return box->isChecked(); }));
}

bool Form2::PassThroughChecked() const
{
    return Check2[0]->isChecked();
}

bool Form2::CaveInsChecked() const
{
    return Check2[1]->isChecked();
}

QString Form2::RoundsText() const
{
    return Text2->text();
}

void Form2::closeEvent(QCloseEvent* event)
{
    // Not the base's, which would merely hide the window.
    if (AcceptClose(*this, *event))
        emit Unloaded();
}

void Form2::mouseMoveEvent(QMouseEvent* event)
{
    WhitenStartAndExit();
    FixedDialog::mouseMoveEvent(event);
}

bool Form2::eventFilter(QObject* watched, QEvent* event)
{
    for (int i = 0; i < 2; ++i) {
        if (watched != Label2[i])
            continue;
        if (event->type() == QEvent::MouseMove) {
            Label2_MouseMove(i);
            return true;
        }
        // Any button acts, and on the press; also on the press that Qt takes
        // for the second half of a double-click, which may have begun on
        // another window at the same place.
        if (event->type() == QEvent::MouseButtonPress
            || event->type() == QEvent::MouseButtonDblClick) {
            Label2_MouseDown(i);
            return true;
        }
    }
    return FixedDialog::eventFilter(watched, event);
}

void Form2::Label2_MouseMove(int index)
{
    WhitenStartAndExit();
    SetTextColor(Label2[index], YellowText);
}

void Form2::Label2_MouseDown(int index)
{
    if (index == 0)
        emit StartChosen();
    else
        emit ExitChosen();
}

void Form2::Check1_Click(int index)
{
    // The ticks always sit on the first boxes, so the players counted at
    // Start are the ones whose boxes are ticked. A player joins only after
    // the one before; one who leaves takes the players after along. Each
    // untick here is a change of that box again and carries on from there.
    if (Check1[index]->isChecked()) {
        if (index > 0 && !Check1[index - 1]->isChecked())
            Check1[index]->setChecked(false);
    } else if (index + 1 < OptionalPlayers) {
        Check1[index + 1]->setChecked(false);
    }
}

void Form2::WhitenStartAndExit()
{
    for (QLabel* label : Label2)
        SetTextColor(label, WhiteText);
}
