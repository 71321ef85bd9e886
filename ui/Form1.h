#pragma once

#include "PlayerSlots.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>

class OutlineShape;
class PlayfieldView;
class QColor;
class QImage;
class QKeyEvent;
class QLabel;
class QRect;
class QString;

// The game window: the playfield on the left, the scoreboard on the right,
// the level banner over the playfield between rounds and the credit label.
// It only shows: its timer, key and unload handlers live in app/ (Session
// and Keyboard), the rules in core/.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ScoreRows = PlayerSlots;

    explicit Form1(const QImage& playfield, QWidget* parent = nullptr);

    // Rows 2 and up shown for the active slots up to lastPlayer, hidden
    // beyond; rows 0 and 1 always stay.
    void ShowScoreRows(std::int16_t lastPlayer);

    // What changes while the window is up, by slot where a row is meant.
    void SetName(int slot, const QString& name);
    QString Name(int slot) const;
    QColor NameColor(int slot) const;
    void SetScore(int slot, const QString& text);
    void SetBannerCaption(const QString& caption);
    void SetBannerVisible(bool visible);
    void SetCreditColor(const QColor& color);
    void SetWaitSignVisible(bool visible);
    // Draws this part of the playfield again from its image.
    void RepaintPlayfield(const QRect& area);

    PlayfieldView* Picture1;                        // the playfield; takes the keys
    QLabel* Label4;                                 // level banner over the playfield
    QLabel* WaitSign;                               // how to go on, in the banner's place, while a round waits
    QLabel* Label3;                                 // credit "Q.V.Z", recoloured by the tick
    std::array<OutlineShape*, ScoreRows> Shape1{};  // outline of each scoreboard row
    std::array<QLabel*, ScoreRows> Label1{};        // player names in the scoreboard
    std::array<QLabel*, ScoreRows> Label2{};        // scores under the names
    QTimer Timer1;                                  // the 10 ms game tick

signals:
    // The playfield's keys and its loss of the keyboard, passed on.
    void Picture1_KeyDown(QKeyEvent* event);
    void Picture1_KeyUp(QKeyEvent* event);
    void Picture1_FocusLost();
    // The window was closed: the program ends with it.
    void Unloaded();

protected:
    // The close box, or close() from a way out: unloads the window.
    void closeEvent(QCloseEvent* event) override;
};
