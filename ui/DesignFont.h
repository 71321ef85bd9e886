#pragma once

#include <QFont>

// Every text of the game is designed in "MS Sans Serif" at normal weight;
// where the system lacks it, a free font with close widths and Czech letters
// stands in at the same point size. The sizes are points at 100 %: on a
// scaled screen the text takes as many pixels as the layout's whole scale
// gives it, never a share of the fraction the scale was rounded from.
QFont DesignFont(qreal pointSize);
