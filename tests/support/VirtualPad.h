#pragma once

#include "ColorRef.h"

#include <QList>

#include <SDL.h>

#include <utility>

// A game controller from SDL's virtual joystick driver, with every button
// and axis of SDL's controller layout; it records what the game asks of it.
struct VirtualPad
{
    VirtualPad()
    {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "virtual pad";
        desc.userdata = this;
        desc.SetPlayerIndex = [](void* pad, int index) { static_cast<VirtualPad*>(pad)->playerIndex = index; };
        desc.Rumble = [](void* pad, Uint16 low, Uint16 high) {
            static_cast<VirtualPad*>(pad)->rumbles << Uint16(low | high);
            return 0;
        };
        desc.SetLED = [](void* pad, Uint8 red, Uint8 green, Uint8 blue) {
            static_cast<VirtualPad*>(pad)->light = MakeColorRef(red, green, blue);
            return 0;
        };
        const int device = SDL_JoystickAttachVirtualEx(&desc);
        id = SDL_JoystickGetDeviceInstanceID(device);
        joystick = SDL_JoystickOpen(device);
    }
    ~VirtualPad() { Unplug(); }

    void Unplug()
    {
        if (!joystick)
            return;
        SDL_JoystickClose(std::exchange(joystick, nullptr));
        for (int device = 0; device < SDL_NumJoysticks(); ++device)
            if (SDL_JoystickGetDeviceInstanceID(device) == id)
                SDL_JoystickDetachVirtual(device);
    }
    void Press(int button, bool down = true) { SDL_JoystickSetVirtualButton(joystick, button, down); }
    void Stick(int x) { SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, Sint16(x)); }

    SDL_JoystickID id;
    SDL_Joystick* joystick;
    int playerIndex = -1;
    ColorRef light = Black;
    QList<Uint16> rumbles; // the stronger motor's strength, roughly
};

// Keeps SDL's controllers up from before a session until after it and its
// virtual pads are gone: made first, destroyed last.
struct ControllerSupport
{
    ControllerSupport() { SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER); }
    ~ControllerSupport() { SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER); }
};
