#pragma once

#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>

class OutlineShape;
class PlayfieldView;
class QImage;
class QLabel;

// The game window: the playfield on the left, the scoreboard on the right,
// the level banner over the playfield between rounds and the credit label.
// It only shows; the rules and the keys are handled elsewhere.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ScoreRows = 6;

    explicit Form1(const QImage& playfield, QWidget* parent = nullptr);

    // Rows 2 and up shown for the active slots up to lastPlayer, hidden
    // beyond; rows 0 and 1 always stay.
    void ShowScoreRows(std::int16_t lastPlayer);

    PlayfieldView* Picture1;
    QLabel* Label4; // level banner
    QLabel* Label3; // credit
    std::array<OutlineShape*, ScoreRows> Shape1{};
    std::array<QLabel*, ScoreRows> Label1{}; // names
    std::array<QLabel*, ScoreRows> Label2{}; // scores
    QTimer Timer1;

signals:
    // The window was closed: the program ends with it.
    void Unloaded();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool placed = false;
};
