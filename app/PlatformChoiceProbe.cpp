#include "PlatformChoiceProbe.h"

#include <QByteArray>
#include <QList>
#include <QtGlobal>

#include <wayland-client.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

// libxcb writes the X server's refusal (no authorization, say) and
// libwayland its errors straight to standard error; Qt says the same again
// if it comes to that. Nothing else runs yet, so the process's standard
// error can be lent out for the moment.
template <class Probe>
int Quietly(Probe probe)
{
    const int kept = dup(STDERR_FILENO);
    const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (kept < 0 || nowhere < 0 || dup2(nowhere, STDERR_FILENO) < 0) {
        for (int file : {kept, nowhere})
            if (file >= 0)
                close(file);
        return 0;
    }
    close(nowhere);
    const int answer = probe();
    dup2(kept, STDERR_FILENO);
    close(kept);
    return answer;
}

struct Outputs
{
    std::vector<wl_output*> bound;
    int scale = 0;
};

void OutputScale(void* data, wl_output*, int32_t factor)
{
    auto* outputs = static_cast<Outputs*>(data);
    outputs->scale = std::max(outputs->scale, int(factor));
}

const wl_output_listener OutputListener = {
    [](void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*, int32_t) {},
    [](void*, wl_output*, uint32_t, int32_t, int32_t, int32_t) {},
    [](void*, wl_output*) {},
    OutputScale,
    nullptr,
    nullptr,
};

void Global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    if (qstrcmp(interface, wl_output_interface.name) != 0)
        return;
    auto* outputs = static_cast<Outputs*>(data);
    outputs->scale = std::max(outputs->scale, 1);
    // Outputs before version 2 say nothing of a scale: they are 1x.
    if (version < 2)
        return;
    auto* output = static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, 2));
    outputs->bound.push_back(output);
    wl_output_add_listener(output, &OutputListener, outputs);
}

const wl_registry_listener RegistryListener = {Global, [](void*, wl_registry*, uint32_t) {}};

int AskWayland()
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return 0;
    Outputs outputs;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &RegistryListener, &outputs);
    // The first round trip brings the outputs, the second what they say.
    if (wl_display_roundtrip(display) < 0 || wl_display_roundtrip(display) < 0)
        outputs.scale = 0;
    for (wl_output* output : outputs.bound)
        wl_output_destroy(output);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return outputs.scale;
}

int AskX()
{
    int screenNumber = 0;
    const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> connection(
        xcb_connect(nullptr, &screenNumber), xcb_disconnect);
    if (xcb_connection_has_error(connection.get()))
        return 0;
    xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(connection.get()));
    for (int i = 0; i < screenNumber && screen.rem > 0; ++i)
        xcb_screen_next(&screen);
    if (screen.rem == 0)
        return 0;
    const xcb_get_property_cookie_t cookie
        = xcb_get_property(connection.get(), false, screen.data->root, XCB_ATOM_RESOURCE_MANAGER,
                           XCB_ATOM_STRING, 0, 1 << 20);
    const std::unique_ptr<xcb_get_property_reply_t, void (*)(void*)> reply(
        xcb_get_property_reply(connection.get(), cookie, nullptr), std::free);
    if (!reply)
        return 0;
    const int dpi = XftDpi(QByteArrayView(static_cast<const char*>(xcb_get_property_value(reply.get())),
                                          xcb_get_property_value_length(reply.get())));
    return dpi > 0 ? dpi : 96;
}

} // namespace

int WaylandOutputScale()
{
    // libwayland hands a socket passed in WAYLAND_SOCKET to the first
    // connection and forgets it, and that one must be Qt's.
    if (qEnvironmentVariableIsSet("WAYLAND_SOCKET"))
        return 0;
    return Quietly(AskWayland);
}

int XServerDpi()
{
    return Quietly(AskX);
}

int XftDpi(QByteArrayView resources)
{
    // As Qt's X platform reads it: the name and a tab at the start of a
    // line, the last such line counting.
    static constexpr QByteArrayView Name("Xft.dpi:\t");
    int dpi = 0;
    for (const QByteArray& line : resources.toByteArray().split('\n')) {
        bool number = false;
        const double value = line.startsWith(Name) ? line.mid(Name.size()).toDouble(&number) : 0;
        dpi = number ? qRound(value) : dpi;
    }
    return dpi;
}
