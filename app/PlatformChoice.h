#pragma once

#include <QByteArray>

// Which of Qt's window systems the game asks for. Through an X server
// (Xwayland on a Wayland desktop included) the desktop draws the designed
// frame with a close box only, centres the windows and gives whole-number
// scales; native Wayland is the way when there is no X display. A platform
// the player names always wins.
//
// The answer for QT_QPA_PLATFORM, or an empty array to leave it as it is:
// platformArgument says whether the command line names one (-platform),
// named is QT_QPA_PLATFORM as found, xDisplay whether DISPLAY is set and
// waylandSocket whether a Wayland socket can be found at all.
QByteArray PlatformToAskFor(bool platformArgument, const QByteArray& named, bool xDisplay,
                            bool waylandSocket);

// Puts that answer in the environment, where Qt reads it.
void ChoosePlatform(int argc, char* argv[]);
