#include "VirtualKeys.h"

#include "TurnKeys.h"

#include <QChar>
#include <QKeyEvent>

namespace {

// Where the scan codes of a platform start from the PC's own.
#ifdef Q_OS_WIN
constexpr quint32 ScanCodeOffset = 0;
#else
constexpr quint32 ScanCodeOffset = 8;
#endif

// The script of the letter a key types, or Unknown for any other key.
QChar::Script LetterScript(const QKeyEvent& event)
{
    // Qt names a key that types a character by that character, upper case;
    // keys without one have codes beyond Unicode.
    const int key = event.key();
    if (key <= 0 || key > 0x10FFFF || !QChar::isLetter(char32_t(key)))
        return QChar::Script_Unknown;
    return QChar::script(char32_t(key));
}

// The letter key at this place of a US keyboard, by the platform's scan code
// (xkb numbers keys 8 above the PC's own scan codes), or None.
int LetterKeyAtPlace(quint32 nativeScanCode)
{
    for (const TurnKey& turn : TurnKeys)
        if (turn.usPlace != 0 && turn.usPlace + ScanCodeOffset == nativeScanCode)
            return turn.code;
    return VirtualKey::None;
}

} // namespace

int VirtualKeyCode(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Escape)
        return VirtualKey::Escape;
    if (event.key() == Qt::Key_Space)
        return VirtualKey::Space;
    const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    for (const TurnKey& turn : TurnKeys)
        if (event.key() == turn.key && (keypad || !turn.keypadOnly))
            return turn.code;
    return VirtualKey::None;
}

LayoutAwareKeys::LayoutAwareKeys(const QLocale& language)
    : latinLetters(language.script() == QLocale::LatinScript
                   || language.script() == QLocale::AnyScript)
{
}

int LayoutAwareKeys::CodeOf(const QKeyEvent& event)
{
    const QChar::Script script = LetterScript(event);
    if (script != QChar::Script_Unknown)
        latinLetters = script == QChar::Script_Latin;
    const int code = VirtualKeyCode(event);
    if (code != VirtualKey::None || latinLetters || event.nativeScanCode() == 0)
        return code;
    // Not every key in such a layout types a letter: Greek has ; where US
    // has Q, Hebrew / and '.
    return LetterKeyAtPlace(event.nativeScanCode());
}

int LayoutAwareKeys::Pressed(const QKeyEvent& event)
{
    const int code = CodeOf(event);
    if (event.nativeScanCode() != 0)
        codeByScanCode.insert(event.nativeScanCode(), code);
    return code;
}

int LayoutAwareKeys::Released(const QKeyEvent& event)
{
    const auto held = codeByScanCode.constFind(event.nativeScanCode());
    if (event.nativeScanCode() == 0 || held == codeByScanCode.cend())
        return CodeOf(event);
    const int code = *held;
    codeByScanCode.erase(held);
    return code;
}

void LayoutAwareKeys::Forget()
{
    codeByScanCode.clear();
}
