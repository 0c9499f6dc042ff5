#include "browser/browser_filling.h"

#include "app/lock_controller.h"
#include "browser/browser_protocol.h"
#include "browser/program_host.h"

#include <memory>

namespace qvs::browser {

namespace {

struct Filling {
    ProgramHost host;
    ProgramQuestions questions;
    BrowserProtocol protocol{host, questions};
};

std::unique_ptr<Filling>& Running() {
    static std::unique_ptr<Filling> filling;
    return filling;
}

} // namespace

void StartBrowserFilling() {
    if (Running()) return;
    Running() = std::make_unique<Filling>();
    BrowserProtocol* protocol = &Running()->protocol;
    QObject::connect(&Locking(), &LockController::lockedChanged, &Locking(),
                     [protocol](bool locked) { protocol->FileAvailable(!locked); });
}

Requests& ConnectBrowserSocket(Broadcast* broadcast) {
    StartBrowserFilling();
    Running()->protocol.SetBroadcast(broadcast);
    return Running()->protocol;
}

} // namespace qvs::browser
