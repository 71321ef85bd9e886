#include "WindowKeys.h"

#include "Form1.h"
#include "Keyboard.h"
#include "VirtualKeys.h"

#include <QKeyEvent>

void FeedKeys(Form1& window, LayoutAwareKeys& keys, Keyboard& keyboard, std::function<void()> changed)
{
    QObject::connect(&window, &Form1::Picture1_KeyDown, &window, [&keys, &keyboard, changed](QKeyEvent* event) {
        keyboard.Picture1_KeyDown(keys.Pressed(*event), event->nativeScanCode());
        changed();
    });
    QObject::connect(&window, &Form1::Picture1_KeyUp, &window, [&keys, &keyboard, changed](QKeyEvent* event) {
        // X11 sends a release before every repeated press of a held key;
        // the key is still down.
        if (event->isAutoRepeat())
            return;
        keyboard.Picture1_KeyUp(keys.Released(*event), event->nativeScanCode());
        changed();
    });
}
