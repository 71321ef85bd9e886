#pragma once

#include <QHash>
#include <QLocale>

class QKeyEvent;

// The game names its keys by the codes of the keyboard it was designed on;
// the turn keys' codes are in TurnKeys.
namespace VirtualKey {
inline constexpr int None = 0;
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
} // namespace VirtualKey

// The code of a key by what it is labelled, or None for a key the game has
// no use for. Shift, Ctrl, Alt and Caps Lock make no difference; the keypad's
// 1, 2, + and - are told from the main row's by the keypad modifier.
int VirtualKeyCode(const QKeyEvent& event);

// Names the keys of one keyboard as they go down and come up.
//
// A letter key is the one labelled with that letter in layouts written in
// Latin letters (AZERTY's Q is where QWERTY has A). Layouts without them
// (Russian, Greek, Hebrew...) have no Q to press, so there the letter keys
// go by their place on a US keyboard. Which kind of layout is in use shows in
// the letters its keys type; until one has been typed, the system's language
// tells: the language of the locale given, the system's unless a test names
// another.
//
// A release is named by what its key was called when it went down. The same
// physical key can be reported differently by then: keypad 2 pressed with
// Num Lock on and released after Shift went down comes back as an arrow, and
// its player would be left turning for ever.
class LayoutAwareKeys
{
public:
    explicit LayoutAwareKeys(const QLocale& language = QLocale::system());

    int Pressed(const QKeyEvent& event);
    int Released(const QKeyEvent& event);

    // Forgets every key that is down, as when the keyboard goes to another
    // window and its releases go there too.
    void Forget();

private:
    int CodeOf(const QKeyEvent& event);

    QHash<quint32, int> codeByScanCode;
    bool latinLetters;
};
