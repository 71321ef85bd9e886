#pragma once

#include "FixedDialog.h"

#include <QList>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;

// Where a player who started "join a network game" from the desktop's menu
// picks a game: the games found on the LAN, or an address typed in, the join
// code, the name, how many players this computer seats, and Connect. It
// shows plain data and decides nothing.
class JoinWindow : public FixedDialog
{
    Q_OBJECT

public:
    explicit JoinWindow(QWidget* parent = nullptr);

    struct Game
    {
        QString row;     // what the list shows
        QString address; // what choosing it puts in the address box
    };
    // The chosen game stays chosen while it is still listed.
    void ShowGames(const QList<Game>& games);
    // The one-line answer under Connect: why a join did not happen.
    void ShowAnswer(const QString& line);
    // While connecting, Connect does nothing and says so.
    void SetConnecting(bool connecting);

    QListWidget* List1; // the games found
    QLineEdit* Text1;   // address
    QLineEdit* Text2;   // join code
    QLineEdit* Text3;   // name
    QLineEdit* Text4;   // players on this computer
    QCheckBox* Check1;  // watch only
    QLabel* Label6;     // Connect
    QLabel* Label7;     // the answer

signals:
    void ConnectChosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QList<Game> games;
    bool connecting = false;
};
