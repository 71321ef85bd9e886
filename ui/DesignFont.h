#pragma once

#include <QFont>

// Every text of the game is designed in "MS Sans Serif" at normal weight;
// where the system lacks it, a free font with close widths and Czech letters
// stands in at the same point size.
QFont DesignFont(qreal pointSize);
