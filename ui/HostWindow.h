#pragma once

#include "FixedDialog.h"

#include <QList>
#include <QStringList>

class QLabel;

// Beside the setup window of a match others may join: what to give them
// (addresses, port, code) and the computers that joined, with the players
// each steers, and those that watch. It shows plain data and decides nothing.
class HostWindow : public FixedDialog
{
    Q_OBJECT

public:
    static constexpr int Rows = 5; // as many computers as may steer players

    explicit HostWindow(QWidget* parent = nullptr);

    void ShowJoinInfo(const QString& addresses, int port, int code);
    // One line a computer, in order; none: "nobody yet".
    void ShowComputers(const QStringList& rows);
    // The computers that watch, apart: they steer nobody.
    void ShowWatchers(const QStringList& names);
    // One line for each player 1..6, who steers it; empty for one not in
    // the match, which cannot be clicked.
    void ShowOwners(const QStringList& rows);

    QLabel* Label2;                 // addresses, port and code
    QList<QLabel*> Label3;          // the joined computers
    QList<QLabel*> Label5;          // who steers each player
    QLabel* Label7;                 // the computers that watch

signals:
    // The host clicked the line of player 1..6 to hand it on.
    void OwnerClicked(int player);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
