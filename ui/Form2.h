#pragma once

#include "FixedDialog.h"
#include "PlayerSlots.h"

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
    static constexpr int Slots = PlayerSlots;
    static constexpr int OptionalPlayers = 4;

    explicit Form2(QWidget* parent = nullptr);

    // What the window holds at the moment of asking.
    QString PlayerName(int slot) const;
    // How many of players 3 to 6 are ticked; the ticks always sit on the
    // first boxes.
    int TickedPlayers() const;
    bool PassThroughChecked() const;
    bool CaveInsChecked() const;
    QString RoundsText() const;

    std::array<OutlineShape*, Slots> Shape1{};          // outline of each player's box
    std::array<QLineEdit*, Slots> Text1{};               // player names
    std::array<QCheckBox*, OptionalPlayers> Check1{};    // "Hraju také!": players 3 to 6 take part
    OutlineShape* Shape2;                                // outline around the options and rounds
    std::array<QCheckBox*, 2> Check2{};                  // options: pass-through, cave-ins
    QLabel* Label1;                                      // "Počet kol:" over the rounds
    QLineEdit* Text2;                                    // number of rounds
    OutlineShape* Shape4;                                // outline around the key help
    QLabel* Label4;                                      // "Ovládání:" heading the key help
    std::array<QLabel*, Slots> Label3{};                 // key help, one line per player
    OutlineShape* Shape3;                                // outline around Start and Exit
    std::array<QLabel*, 2> Label2{};                     // Start, Exit

signals:
    void StartChosen();
    void ExitChosen();
    // The close box: the program ends with this window.
    void Unloaded();

protected:
    // The close box unloads the window, and the program ends.
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Label2_MouseMove(int index);
    void Label2_MouseDown(int index);
    void Check1_Click(int index);
    void WhitenStartAndExit();
};
