#include "browser/browser_filling.h"

#include "app/file_events.h"
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
    // What the browsers were last told: a file they may ask for, or none.
    bool told = false;

    bool Available() { return host.File() != nullptr && !host.Locked(); }
    // The extension drops what it knows of the file at "locked" and asks
    // again at "unlocked": a change of file is told as both.
    void Tell(bool available) {
        if (available == told) return;
        told = available;
        protocol.FileAvailable(available);
    }
};

std::unique_ptr<Filling>& Running() {
    static std::unique_ptr<Filling> filling;
    return filling;
}

void OnFileEvent(FileEvent event) {
    Filling& filling = *Running();
    filling.Tell(event == FileEvent::Opened && filling.Available());
}

} // namespace

void StartBrowserFilling() {
    if (Running()) return;
    Running() = std::make_unique<Filling>();
    Filling* filling = Running().get();
    filling->told = filling->Available();
    QObject::connect(&Locking(), &LockController::lockedChanged, &Locking(),
                     [filling] { filling->Tell(filling->Available()); });
    SetFileEventObserver(&OnFileEvent);
}

Requests& ConnectBrowserSocket(Broadcast* broadcast) {
    StartBrowserFilling();
    Filling& filling = *Running();
    // QVS ends (or stops listening): the file is gone for these browsers.
    if (!broadcast && filling.told) filling.protocol.FileAvailable(false);
    filling.protocol.SetBroadcast(broadcast);
    return filling.protocol;
}

} // namespace qvs::browser
