#pragma once

#include <QIcon>

// The game's icon in every size it is drawn in; the windows show 32 x 32.
QIcon ProgramIcon();
