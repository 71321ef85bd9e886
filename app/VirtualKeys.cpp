#include "VirtualKeys.h"

#include <QKeyEvent>

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

int HeldKeys::Pressed(const QKeyEvent& event)
{
    const int code = VirtualKeyCode(event);
    if (event.nativeScanCode() != 0)
        codeByScanCode.insert(event.nativeScanCode(), code);
    return code;
}

int HeldKeys::Released(const QKeyEvent& event)
{
    const auto held = codeByScanCode.constFind(event.nativeScanCode());
    if (event.nativeScanCode() == 0 || held == codeByScanCode.cend())
        return VirtualKeyCode(event);
    const int code = *held;
    codeByScanCode.erase(held);
    return code;
}
