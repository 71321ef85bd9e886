#pragma once

#include "FixedDialog.h"

#include <array>

class OutlineShape;
class QCheckBox;
class QLabel;
class QLineEdit;

// The setup window: names, the optional players 3 to 6, the two options, the
// number of rounds and the key help; Start and Exit are labels worked by the
// mouse. It keeps what the players left in it from match to match.
class Form2 : public FixedDialog
{
    Q_OBJECT

public:
    static constexpr int Slots = 6;
    static constexpr int OptionalPlayers = 4;

    explicit Form2(QWidget* parent = nullptr);

    std::array<OutlineShape*, Slots> Shape1{};
    std::array<QLineEdit*, Slots> Text1{};               // names
    std::array<QCheckBox*, OptionalPlayers> Check1{};    // players 3 to 6 take part
    OutlineShape* Shape2;
    std::array<QCheckBox*, 2> Check2{};                  // pass-through, cave-ins
    QLabel* Label1;
    QLineEdit* Text2;                                     // number of rounds
    OutlineShape* Shape4;
    QLabel* Label4;
    std::array<QLabel*, Slots> Label3{};                 // key help
    OutlineShape* Shape3;
    std::array<QLabel*, 2> Label2{};                     // Start, Exit

signals:
    void StartChosen();
    void ExitChosen();
    // The close box: the program ends with this window.
    void Unloaded();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Label2_MouseMove(int index);
    void Label2_MouseDown(int index);
    void Check1_Click(int index);
    void WhitenStartAndExit();
};
