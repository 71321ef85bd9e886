#pragma once

#include <QByteArray>
#include <QString>

// Which of Qt's window systems the game asks for. Through an X server
// (Xwayland on a Wayland desktop included) the desktop draws the designed
// frame with a close box only, centres the windows and gives whole-number
// scales, as long as it tells X programs its scale. Where a Wayland desktop
// is scaled and tells X programs nothing (96 dpi), it would stretch their
// 1x windows, so native Wayland is taken first: there Qt draws at the
// whole-number scale itself. Native Wayland is also the way when there is no
// X display. A platform the player names always wins.

// What the desktop tells of its scale, 0 where it was not learnt (the X
// server is asked only where Wayland's scale is above 1): the largest scale
// of its Wayland outputs and the X server's dots per inch.
struct DesktopScale
{
    int wayland = 0;
    int xDpi = 0;
};

// The answer for QT_QPA_PLATFORM, or an empty array to leave it as it is:
// platformArgument says whether the command line names one (-platform),
// named is QT_QPA_PLATFORM as found, xDisplay whether DISPLAY is set,
// waylandSocket whether a Wayland socket can be found at all and scale what
// the desktop told. The reason goes to why, in a few words.
QByteArray PlatformToAskFor(bool platformArgument, const QByteArray& named, bool xDisplay,
                            bool waylandSocket, DesktopScale scale, QString* why = nullptr);

// Puts that answer in the environment, where Qt reads it, learning the
// desktop's scale where both window systems are there to choose from. With
// QT_LOGGING_RULES="klikvar.platform.debug=true" it says on standard error
// which was taken and why.
void ChoosePlatform(int argc, char* argv[]);
