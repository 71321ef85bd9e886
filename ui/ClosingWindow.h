#pragma once

#include "FixedDialog.h"

#include <QTimer>

class QLabel;

// On a joined computer once the match is over for it (the host ended it or
// is gone): the line that says so, until the close box or a few seconds
// later, so a player who is not watching the terminal learns it too.
class ClosingWindow : public FixedDialog
{
    Q_OBJECT

public:
    static constexpr int ShownMs = 5000;

    explicit ClosingWindow(const QString& line, QWidget* parent = nullptr);

    QLabel* Label1;       // the line
    QTimer closesItself;  // started with the window
};
