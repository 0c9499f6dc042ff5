#include "autotype/previous_window.h"

#include "autotype/typing_backend.h"

namespace qvs {

bool IsOwnWindow(std::uint64_t window) {
    return CurrentTypingBackend().IsOwnWindow(window);
}

PreviousWindow::PreviousWindow(OwnTest isOwn, QObject* parent)
    : QObject(parent), isOwn_(std::move(isOwn)) {
    TypingBackend& backend = CurrentTypingBackend();
    if (!backend.KnowsWindows()) {
        window_ = kFocusedWindow;
        return;
    }
    // The window active at start-up is where the user started us from.
    Note(backend.ActiveWindow());
    connect(&backend, &TypingBackend::ActiveWindowChanged, this, &PreviousWindow::Note);
}

void PreviousWindow::Note(std::uint64_t active) {
    if (active != 0 && active != kFocusedWindow && !isOwn_(active)) window_ = active;
}

} // namespace qvs
