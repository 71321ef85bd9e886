#include "Controllers.h"

#include "ColorRef.h"
#include "Module1.h"

#include <QTimer>

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The stick asks for a turn once pushed past a quarter of its travel and lets
// go only back under a fifth, so a resting or worn stick never turns and one
// held at the edge does not flicker.
constexpr double StickTurnsPast = 1.0 / 4;
constexpr double StickLetsGoUnder = 1.0 / 5;

// Short enough to be over before the next round can start.
constexpr Uint16 RumbleStrength = 0xC000;
constexpr Uint32 RumbleMs = 250;

// While no tick comes, plugs, buttons and the ends of rumbles are still taken
// in: within a tenth of a second while a controller is there, and now and
// then without one, so that an idle game sleeps.
constexpr int IdlePumpMs = 100;
constexpr int IdlePumpWithoutControllersMs = 1000;

bool StickPast(int axis, bool wasPast)
{
    const double push = axis / double(SDL_JOYSTICK_AXIS_MAX);
    return wasPast ? push >= StickLetsGoUnder : push > StickTurnsPast;
}

bool Pressed(SDL_GameController* pad, SDL_GameControllerButton button)
{
    return SDL_GameControllerGetButton(pad, button) != 0;
}

struct Pad
{
    SDL_GameController* handle = nullptr;
    SDL_JoystickID id = -1;   // SDL's instance id, never reused
    int slot = -1;            // who it steers, or nobody
    bool stickLeft = false;   // the stick past its dead zone
    bool stickRight = false;
    bool asksLeft = false;    // what it asked for at the last pump
    bool asksRight = false;
};

void LightUp(const Pad& pad, int shown)
{
    // The player-number lights count from 1 for index 0, as slots do.
    SDL_GameControllerSetPlayerIndex(pad.handle, shown);
    const ColorRef color = shown >= 0 && shown < PlayerSlots ? PlayerColors[std::size_t(shown)] : Black;
    SDL_GameControllerSetLED(pad.handle, Uint8(color & 0xFF), Uint8(color >> 8 & 0xFF),
                             Uint8(color >> 16 & 0xFF));
}

void Steer(Pad& pad)
{
    const int x = SDL_GameControllerGetAxis(pad.handle, SDL_CONTROLLER_AXIS_LEFTX);
    pad.stickLeft = StickPast(-x, pad.stickLeft);
    pad.stickRight = StickPast(x, pad.stickRight);
    pad.asksLeft = pad.stickLeft || Pressed(pad.handle, SDL_CONTROLLER_BUTTON_DPAD_LEFT)
                   || Pressed(pad.handle, SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
    pad.asksRight = pad.stickRight || Pressed(pad.handle, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)
                    || Pressed(pad.handle, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
}

} // namespace

struct Controllers::Private
{
    Private(const Module1& match, std::function<void()> nextRound, std::function<void()> asked)
        : match(match), nextRound(std::move(nextRound)), asked(std::move(asked))
    {
    }

    void Rescan();
    int FreeSlot() const;
    void Light(const Pad& pad) const { LightUp(pad, pad.slot >= 0 ? shownAs(pad.slot) : -1); }
    void PumpLater() { idlePump.start(pads.empty() ? IdlePumpWithoutControllersMs : IdlePumpMs); }

    const Module1& match;
    std::function<void()> nextRound;
    std::function<void()> asked;
    std::function<int(int)> shownAs = [](int slot) { return slot; };
    bool ready = false;
    bool matchStarted = false;
    std::vector<Pad> pads;
    QTimer idlePump;
};

Controllers::Controllers(const Module1& match, std::function<void()> nextRound, std::function<void()> asked)
    : d(std::make_unique<Private>(match, std::move(nextRound), std::move(asked)))
{
    // Ctrl+C and the session's end stay the program's own business.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "Klikvar plays without game controllers (%s).\n", SDL_GetError());
        return;
    }
    d->ready = true;
    d->Rescan();
    d->idlePump.setSingleShot(true);
    QObject::connect(&d->idlePump, &QTimer::timeout, &d->idlePump, [this] { Pump(); });
    d->PumpLater();
}

Controllers::~Controllers()
{
    if (!d->ready)
        return;
    for (const Pad& pad : d->pads)
        SDL_GameControllerClose(pad.handle);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void Controllers::Pump()
{
    if (!d->ready)
        return;
    bool plugged = false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
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
                d->nextRound();
            break;
        default:
            break;
        }
    }
    if (plugged)
        d->Rescan();
    for (Pad& pad : d->pads)
        Steer(pad);
    // Every tick puts the idle pump off again, so during play it never fires.
    d->PumpLater();
    d->asked();
}

void Controllers::TakePlayers()
{
    // Those plugged in or out since the last pump count too.
    Pump();
    d->matchStarted = true;
    int slot = d->match.LastActiveSlot();
    for (Pad& pad : d->pads) {
        pad.slot = slot >= 0 ? slot-- : -1;
        d->Light(pad);
    }
    Forget();
}

void Controllers::Forget()
{
    for (Pad& pad : d->pads)
        pad.asksLeft = pad.asksRight = false;
}

bool Controllers::Asks(int slot, bool left) const
{
    return std::any_of(d->pads.cbegin(), d->pads.cend(), [slot, left](const Pad& pad) {
        return pad.slot == slot && (left ? pad.asksLeft : pad.asksRight);
    });
}

void Controllers::Rumble(std::int16_t slot)
{
    for (const Pad& pad : d->pads)
        if (pad.slot == slot)
            SDL_GameControllerRumble(pad.handle, RumbleStrength, RumbleStrength, RumbleMs);
}

void Controllers::ShowAs(std::function<int(int slot)> shownSlot)
{
    d->shownAs = std::move(shownSlot);
    for (const Pad& pad : d->pads)
        d->Light(pad);
}

QList<int> Controllers::Slots() const
{
    QList<int> taken;
    for (const Pad& pad : d->pads)
        taken.push_back(pad.slot);
    return taken;
}

void Controllers::Private::Rescan()
{
    // Gone, whether or not the news of it came: its turns end with it, now.
    const auto gone = std::remove_if(pads.begin(), pads.end(), [](const Pad& pad) {
        if (SDL_GameControllerGetAttached(pad.handle))
            return false;
        SDL_GameControllerClose(pad.handle);
        return true;
    });
    pads.erase(gone, pads.end());
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

int Controllers::Private::FreeSlot() const
{
    for (int slot = match.LastActiveSlot(); slot >= 0; --slot)
        if (std::none_of(pads.begin(), pads.end(), [slot](const Pad& pad) { return pad.slot == slot; }))
            return slot;
    return -1;
}
