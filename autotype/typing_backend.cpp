#include "autotype/typing_backend.h"

#include "autotype/portal_backend.h"
#include "autotype/wlr_backend.h"
#include "autotype/x11_backend.h"

#include <QGuiApplication>

Q_LOGGING_CATEGORY(lcTyping, "qvs.typing")

namespace qvs {

namespace {

std::unique_ptr<TypingBackend>& Chosen() {
    static std::unique_ptr<TypingBackend> backend;
    return backend;
}

// Also when this program runs through XWayland: the compositor's own
// keyboard then still reaches native programs.
bool WaylandSession() {
    return QGuiApplication::platformName() == QLatin1String("wayland") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
}

std::unique_ptr<TypingBackend> Choose() {
    const bool wayland = WaylandSession();
    if (wayland) {
        if (auto wlroots = WlrTypingBackend::Connect()) return wlroots;
        if (auto portal = PortalTypingBackend::Connect()) return portal;
    }
    if (x11::Available()) return std::make_unique<X11TypingBackend>(wayland);
    return std::make_unique<NoTypingBackend>();
}

} // namespace

TypingBackend& CurrentTypingBackend() {
    auto& backend = Chosen();
    if (!backend) {
        backend = Choose();
        // Before the application's own end, while its event loop's pieces
        // still exist.
        qAddPostRoutine([] { Chosen().reset(); });
        qCInfo(lcTyping) << "typing back-end:" << backend->Name();
    }
    return *backend;
}

void ReplaceTypingBackendForTesting(std::unique_ptr<TypingBackend> backend) {
    Chosen() = std::move(backend);
}

} // namespace qvs
