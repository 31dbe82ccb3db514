#include "WindowSystem.h"

#include <QtGlobal>
#include <cstring>
#ifdef LUMENPANE_HAVE_WAYLAND_CLIENT
#include <wayland-client.h>
#endif

namespace {
std::optional<QByteArray> variable(const char* name)
{
    return qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
}
void put(const char* name, const std::optional<QByteArray>& value)
{
    if (value)
        qputenv(name, *value);
    else
        qunsetenv(name);
}
} // namespace

WindowSystem::Choice WindowSystem::choose(const std::function<std::optional<QByteArray>(const char*)>& environment,
                                          const std::function<bool()>& compositorHasSeat)
{
    Choice choice;
    const std::optional<QByteArray> platform = environment("QT_QPA_PLATFORM");
    const bool inWaylandSession = !environment("WAYLAND_DISPLAY").value_or(QByteArray()).isEmpty();
    bool onWayland = platform && platform->startsWith("wayland");
    if ((!platform || platform->isEmpty()) && inWaylandSession) {
        choice.platform = QByteArrayLiteral("wayland;xcb");
        onWayland = true;
    }
    if (onWayland && !environment("QT_IM_MODULE") && !compositorHasSeat())
        choice.inputMethod = QByteArrayLiteral("compose");
    return choice;
}

bool WindowSystem::compositorHasSeat()
{
#ifdef LUMENPANE_HAVE_WAYLAND_CLIENT
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return true;
    bool seat = false;
    static const wl_registry_listener listener = {
        [](void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
            if (std::strcmp(interface, "wl_seat") == 0)
                *static_cast<bool*>(data) = true;
        },
        [](void*, wl_registry*, uint32_t) {},
    };
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, &seat);
    const bool answered = wl_display_roundtrip(display) >= 0;
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return seat || !answered;
#else
    return true;
#endif
}

WindowSystem::WindowSystem() : m_platform(variable("QT_QPA_PLATFORM")), m_inputMethod(variable("QT_IM_MODULE"))
{
    const Choice choice = choose(variable, &WindowSystem::compositorHasSeat);
    if (choice.platform)
        put("QT_QPA_PLATFORM", choice.platform);
    if (choice.inputMethod)
        put("QT_IM_MODULE", choice.inputMethod);
}

void WindowSystem::restore()
{
    if (std::exchange(m_restored, true))
        return;
    put("QT_QPA_PLATFORM", m_platform);
    put("QT_IM_MODULE", m_inputMethod);
}
