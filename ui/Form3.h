#pragma once

#include "FixedDialog.h"

#include <vector>

class OutlineShape;
class QLabel;

// The winner window: one row per player with the top score, in that
// player's colour, inside a frame in the first winner's colour. Built afresh
// for every match end and left only by closing it.
class Form3 : public FixedDialog
{
    Q_OBJECT

public:
    explicit Form3(QWidget* parent = nullptr);

    // Names the next winner in slot order: the first takes the designed row
    // and gives the frame its colour, each further one gets a row of its own
    // below the one before.
    void AddWinner(const QString& name, const QColor& color);

    OutlineShape* Shape1;         // frame, in the first winner's colour
    QLabel* Label1;               // "...a vítězem je..."
    std::vector<QLabel*> Label2;  // one row per winner, in the winner's colour

private:
    int winners = 0;
    int lastRowTopThirds;  // exact top of the lowest row, in thirds of a pixel
};
