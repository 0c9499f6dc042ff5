#include "autotype/portal_backend.h"

#include "autotype/send_keys.h"
#include "autotype/text_ids.h"

#include <QDBusConnectionInterface>

namespace qvs {

namespace {

constexpr char kPortalService[] = "org.freedesktop.portal.Desktop";

bool PortalReachable(const QDBusConnection& bus) {
    if (!bus.isConnected()) return false;
    const QDBusConnectionInterface* names = bus.interface();
    if (!names) return false;
    if (names->isServiceRegistered(QLatin1String(kPortalService))) return true;
    // Not running yet is fine: the bus starts it at the first call.
    const QDBusReply<QStringList> activatable = names->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(QLatin1String(kPortalService));
}

TypingOutcome OutcomeOf(portal::TypeResult result) {
    if (result == portal::TypeResult::Typed) return {TypeResult::Typed, 0};
    return {TypeResult::Failed, TypingResultTextId(result)};
}

} // namespace

std::unique_ptr<TypingBackend> PortalTypingBackend::Connect() {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!PortalReachable(bus)) return nullptr;
    return std::make_unique<PortalTypingBackend>(bus);
}

PortalTypingBackend::PortalTypingBackend(const QDBusConnection& bus, QObject* parent)
    : TypingBackend(parent), keyboard_(bus) {
    connect(&keyboard_, &portal::Keyboard::Finished, this, &PortalTypingBackend::OnFinished);
}

PortalTypingBackend::~PortalTypingBackend() {
    if (pending_) std::exchange(pending_, {})({TypeResult::Failed, 0});
}

void PortalTypingBackend::Type(std::uint64_t, const KeyStrokes& strokes, TypingDone done) {
    // One login at a time: the desktop may still be asking about the last.
    if (pending_ || !keyboard_.Type(ToX11Strokes(strokes))) {
        done({TypeResult::Failed, text::kTypingStillBusy});
        return;
    }
    pending_ = std::move(done);
}

void PortalTypingBackend::OnFinished(portal::TypeResult result) {
    if (pending_) std::exchange(pending_, {})(OutcomeOf(result));
}

} // namespace qvs
