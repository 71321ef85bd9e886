#include "Form1.h"

#include "ColorRef.h"
#include "Controls.h"
#include "DesignedWindow.h"
#include "OutlineShape.h"
#include "PlayfieldView.h"

#include <QCloseEvent>
#include <QImage>
#include <QLabel>

Form1::Form1(const QImage& playfield, QWidget* parent)
    : QWidget(parent, FixedFrame(Qt::Window))
{
    QWidget* design = DesignWindow(*this, QStringLiteral("Q.V.Z Klikvar"), 594, 456);

    Picture1 = new PlayfieldView(playfield, design);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(0, 0, 450, 450);
    connect(Picture1, &PlayfieldView::KeyDown, this, &Form1::Picture1_KeyDown);
    connect(Picture1, &PlayfieldView::KeyUp, this, &Form1::Picture1_KeyUp);
    connect(Picture1, &PlayfieldView::FocusLost, this, &Form1::Picture1_FocusLost);

    Label4 = MakeLabel(QStringLiteral("Label4"), QStringLiteral("Level 0"),
                       QRect(112, 184, 209, 25), BigText, Qt::AlignHCenter, Picture1);
    SetTextColor(Label4, Qt::white);
    Label4->hide();
    // A label over the playfield like the banner, never drawn into the image
    // the heads read.
    WaitSign = MakeLabel(QStringLiteral("WaitSign"), QStringLiteral("Klikni sem"), Label4->geometry(),
                         BigText, Qt::AlignHCenter, Picture1);
    SetTextColor(WaitSign, Qt::white);
    WaitSign->hide();

    for (int i = 0; i < ScoreRows; ++i) {
        const QColor rowColor = ToQColor(PlayerColors[i]);
        const int offset = RowStep * i;
        Shape1[i] = MakeOutline(FamilyName("Shape1", i), rowColor, QRect(456, 8 + offset, 129, 57), design);
        Label1[i] = MakeLabel(FamilyName("Label1", i), QStringLiteral("Hráč %1").arg(i + 1),
                              QRect(464, 16 + offset, 113, 17), 9.75, Qt::AlignHCenter, design);
        Label2[i] = MakeLabel(FamilyName("Label2", i), QStringLiteral("00"),
                              QRect(464, 40 + offset, 113, 17), 12, Qt::AlignHCenter, design);
        SetTextColor(Label1[i], rowColor);
        SetTextColor(Label2[i], rowColor);
    }
    // Players 1 and 2 only, until a match says otherwise.
    ShowScoreRows(1);

    Label3 = MakeLabel(QStringLiteral("Label3"), QStringLiteral("Q.V.Z"),
                       QRect(456, 400, 129, 41), 24, Qt::AlignHCenter, design);
    Label3->setAutoFillBackground(true);

    Picture1->setFocus();

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setTimerType(Qt::PreciseTimer);
    Timer1.setInterval(10);
    Timer1.start();
}

void Form1::ShowScoreRows(std::int16_t lastPlayer)
{
    for (int i = 2; i < ScoreRows; ++i) {
        Shape1[i]->hide();
        Label1[i]->hide();
        Label2[i]->hide();
    }
    for (int i = 2; i <= lastPlayer && i < ScoreRows; ++i) {
        Shape1[i]->show();
        Label1[i]->show();
        Label2[i]->show();
    }
}

void Form1::SetName(int slot, const QString& name)
{
    Label1[slot]->setText(name);
}

QString Form1::Name(int slot) const
{
    return Label1[slot]->text();
}

QColor Form1::NameColor(int slot) const
{
    return TextColor(Label1[slot]);
}

void Form1::SetScore(int slot, const QString& text)
{
    Label2[slot]->setText(text);
}

void Form1::SetBannerCaption(const QString& caption)
{
    Label4->setText(caption);
}

void Form1::SetBannerVisible(bool visible)
{
    Label4->setVisible(visible);
}

void Form1::SetCreditColor(const QColor& color)
{
    SetTextColor(Label3, color);
}

void Form1::SetWaitSignVisible(bool visible)
{
    WaitSign->setVisible(visible);
}

void Form1::RepaintPlayfield(const QRect& area)
{
    Picture1->update(area);
}

void Form1::closeEvent(QCloseEvent* event)
{
    if (AcceptClose(*this, *event))
        emit Unloaded();
}
