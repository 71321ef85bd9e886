#include "VirtualKeys.h"

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
    switch (nativeScanCode - ScanCodeOffset) {
    case 16: return VirtualKey::Q;
    case 17: return VirtualKey::W;
    case 24: return VirtualKey::O;
    case 25: return VirtualKey::P;
    case 47: return VirtualKey::V;
    case 48: return VirtualKey::B;
    default: return VirtualKey::None;
    }
}

} // namespace

int VirtualKeyCode(const QKeyEvent& event)
{
    const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    switch (event.key()) {
    case Qt::Key_Escape: return VirtualKey::Escape;
    case Qt::Key_Space: return VirtualKey::Space;
    // The keypad's 4 and 6 with Num Lock off are arrows too.
    case Qt::Key_Left: return VirtualKey::Left;
    case Qt::Key_Right: return VirtualKey::Right;
    case Qt::Key_B: return VirtualKey::B;
    case Qt::Key_O: return VirtualKey::O;
    case Qt::Key_P: return VirtualKey::P;
    case Qt::Key_Q: return VirtualKey::Q;
    case Qt::Key_V: return VirtualKey::V;
    case Qt::Key_W: return VirtualKey::W;
    case Qt::Key_1: return keypad ? VirtualKey::Keypad1 : VirtualKey::None;
    case Qt::Key_2: return keypad ? VirtualKey::Keypad2 : VirtualKey::None;
    case Qt::Key_Plus: return keypad ? VirtualKey::KeypadPlus : VirtualKey::None;
    case Qt::Key_Minus: return keypad ? VirtualKey::KeypadMinus : VirtualKey::None;
    default: return VirtualKey::None;
    }
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
