#pragma once

#include "VirtualDisplay.h"

#include <QDir>
#include <QPoint>
#include <QString>

// The game's windows as a player finds them on the screen.
namespace Program {

inline const QString SetupTitle = QStringLiteral("Q.V.Z Klikvar v1.01");
// The game window and the winner window share this title.
inline const QString GameTitle = QStringLiteral("Q.V.Z Klikvar");

// Centres of setup window controls, in its client area.
inline constexpr QPoint Start(232, 340);
inline constexpr QPoint Exit(232, 372);
inline constexpr QPoint Rounds(232, 108);
inline QPoint PlayerTakesPart(int player) { return QPoint(24, 152 + 64 * (player - 3)); }

// Where a test leaves a screenshot for people to look at; the folder is made
// on first use.
inline QString ShotPath(const QString& name)
{
    const QDir folder(QStringLiteral(KLIKVAR_E2E_OUTPUT));
    folder.mkpath(QStringLiteral("."));
    return folder.filePath(name);
}

// Presses Start on the setup window and waits for the game window to take
// the keyboard; the game window, or nothing.
inline std::optional<QString> StartMatch(const VirtualDisplay& display)
{
    const auto setup = display.ActivateWindow(SetupTitle);
    if (!setup || !display.Click(*setup, Start))
        return std::nullopt;
    return display.ActivateWindow(GameTitle);
}

} // namespace Program
