#pragma once

#include <QHash>

class QKeyEvent;

// The game names its keys by the codes of the keyboard it was designed on.
namespace VirtualKey {
inline constexpr int None = 0;
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int Left = 37;
inline constexpr int Right = 39;
inline constexpr int B = 66;
inline constexpr int O = 79;
inline constexpr int P = 80;
inline constexpr int Q = 81;
inline constexpr int V = 86;
inline constexpr int W = 87;
inline constexpr int Keypad1 = 97;
inline constexpr int Keypad2 = 98;
inline constexpr int KeypadPlus = 107;
inline constexpr int KeypadMinus = 109;
} // namespace VirtualKey

// The code of a pressed or released key, or None for a key the game has no
// use for. Shift, Ctrl, Alt and Caps Lock make no difference; the keypad's
// 1, 2, + and - are told from the main row's by the keypad modifier.
int VirtualKeyCode(const QKeyEvent& event);

// Names the key of a release by what it was called when it went down. The
// same physical key can be reported differently by then: keypad 2 pressed
// with Num Lock on and released after Shift went down comes back as an
// arrow, and its player would be left turning for ever.
class HeldKeys
{
public:
    int Pressed(const QKeyEvent& event);
    int Released(const QKeyEvent& event);

private:
    QHash<quint32, int> codeByScanCode;
};
