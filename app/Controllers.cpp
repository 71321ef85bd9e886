#include "Controllers.h"

#include "ColorRef.h"
#include "Game.h"
#include "Keyboard.h"
#include "Module1.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>

namespace {

// The stick turns once pushed past a quarter of its travel and lets go only
// back under a fifth, so a resting or worn stick never turns and one held at
// the edge does not flicker.
constexpr int StickTurnsPast = 8192;
constexpr int StickLetsGoUnder = 6554;

// Short enough to be over before the next round can start.
constexpr Uint16 RumbleStrength = 0xC000;
constexpr Uint32 RumbleMs = 250;

// While no tick comes, plugs and ends of rumbles are still taken in.
constexpr int IdlePumpMs = 50;

bool StickPast(int travel, bool wasPast)
{
    return wasPast ? travel >= StickLetsGoUnder : travel > StickTurnsPast;
}

bool Pressed(SDL_GameController* pad, SDL_GameControllerButton button)
{
    return SDL_GameControllerGetButton(pad, button) != 0;
}

} // namespace

Controllers::Controllers(Module1& match, Game& game, const Keyboard& keys)
    : match(match), game(game), keys(keys)
{
    // Ctrl+C and the session's end stay the program's own business.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "Klikvar plays without game controllers (%s).\n", SDL_GetError());
        return;
    }
    ready = true;
    TakeInNew();
    idlePump.setSingleShot(true);
    idlePump.setInterval(IdlePumpMs);
    QObject::connect(&idlePump, &QTimer::timeout, [this] { Pump(); });
    idlePump.start();
}

Controllers::~Controllers()
{
    if (!ready)
        return;
    for (const Pad& pad : pads)
        SDL_GameControllerClose(pad.handle);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void Controllers::Pump()
{
    if (!ready)
        return;
    // Every tick puts the idle pump off again, so during play it never fires.
    idlePump.start();
    bool plugged = false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_CONTROLLERDEVICEREMOVED:
            Unplugged(event.cdevice.which);
            [[fallthrough]];
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_JOYDEVICEADDED:
        case SDL_JOYDEVICEREMOVED:
            // SDL 2.26 drops the news of a device plugged in just before
            // another one's unplugging; any plug or unplug has a look round.
            plugged = true;
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            // By the press, not the state: a button held on into the next
            // round's end does not start the round after it.
            if (event.cbutton.button == SDL_CONTROLLER_BUTTON_A
                || event.cbutton.button == SDL_CONTROLLER_BUTTON_START)
                game.StartNextRound();
            break;
        default:
            break;
        }
    }
    if (plugged)
        TakeInNew();
    for (Pad& pad : pads)
        Steer(pad);
}

void Controllers::TakePlayers()
{
    // Those plugged in or out since the last pump count too.
    Pump();
    matchStarted = true;
    int slot = match.LastActiveSlot();
    for (Pad& pad : pads) {
        // The flags as the new round left them, not as the pump just set
        // them for the old players; the held turns come back with the next.
        if (pad.slot >= 0) {
            PlayerRecord& player = match.Players[pad.slot];
            player.TurnLeft = player.TurnLeft && !pad.asksLeft;
            player.TurnRight = player.TurnRight && !pad.asksRight;
        }
        pad.asksLeft = pad.asksRight = false;
        pad.slot = slot >= 0 ? slot-- : -1;
        Light(pad);
    }
}

void Controllers::Rumble(std::int16_t slot)
{
    for (const Pad& pad : pads)
        if (pad.slot == slot)
            SDL_GameControllerRumble(pad.handle, RumbleStrength, RumbleStrength, RumbleMs);
}

QList<int> Controllers::Slots() const
{
    QList<int> taken;
    for (const Pad& pad : pads)
        taken.push_back(pad.slot);
    return taken;
}

void Controllers::TakeInNew()
{
    // Device indices shift as others come and go and follow no order of
    // connecting; instance ids grow with it.
    std::vector<std::pair<SDL_JoystickID, int>> found;
    for (int device = 0; device < SDL_NumJoysticks(); ++device) {
        const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device);
        const bool known = std::any_of(pads.begin(), pads.end(), [id](const Pad& pad) { return pad.id == id; });
        if (!known && SDL_IsGameController(device))
            found.emplace_back(id, device);
    }
    std::sort(found.begin(), found.end());
    for (const auto& [id, device] : found) {
        SDL_GameController* handle = SDL_GameControllerOpen(device);
        if (!handle)
            continue;
        Pad pad;
        pad.handle = handle;
        pad.id = id;
        pad.slot = matchStarted ? FreeSlot() : -1;
        Light(pad);
        pads.push_back(pad);
    }
}

void Controllers::Unplugged(std::int32_t id)
{
    const auto pad = std::find_if(pads.begin(), pads.end(), [id](const Pad& p) { return p.id == id; });
    if (pad == pads.end())
        return;
    // Its turns end with it, now.
    Ask(*pad, false, false);
    SDL_GameControllerClose(pad->handle);
    pads.erase(pad);
}

void Controllers::Steer(Pad& pad)
{
    const int x = SDL_GameControllerGetAxis(pad.handle, SDL_CONTROLLER_AXIS_LEFTX);
    pad.stickLeft = StickPast(-x, pad.stickLeft);
    pad.stickRight = StickPast(x, pad.stickRight);
    Ask(pad,
        pad.stickLeft || Pressed(pad.handle, SDL_CONTROLLER_BUTTON_DPAD_LEFT)
            || Pressed(pad.handle, SDL_CONTROLLER_BUTTON_LEFTSHOULDER),
        pad.stickRight || Pressed(pad.handle, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)
            || Pressed(pad.handle, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER));
}

void Controllers::Ask(Pad& pad, bool left, bool right)
{
    if (pad.slot >= 0) {
        PlayerRecord& player = match.Players[pad.slot];
        // Asking again sets the flag a released key may have cleared;
        // letting go leaves it to the keys.
        if (left || pad.asksLeft)
            player.TurnLeft = left || keys.Holds(pad.slot, true);
        if (right || pad.asksRight)
            player.TurnRight = right || keys.Holds(pad.slot, false);
    }
    pad.asksLeft = left;
    pad.asksRight = right;
}

void Controllers::Light(const Pad& pad)
{
    // The player-number lights count from 1 for index 0, as slots do.
    SDL_GameControllerSetPlayerIndex(pad.handle, pad.slot);
    const ColorRef color = pad.slot >= 0 ? PlayerColors[pad.slot] : Black;
    SDL_GameControllerSetLED(pad.handle, Uint8(color & 0xFF), Uint8(color >> 8 & 0xFF),
                             Uint8(color >> 16 & 0xFF));
}

int Controllers::FreeSlot() const
{
    for (int slot = match.LastActiveSlot(); slot >= 0; --slot)
        if (std::none_of(pads.begin(), pads.end(), [slot](const Pad& pad) { return pad.slot == slot; }))
            return slot;
    return -1;
}
