#include "app/file_events.h"

namespace qvs {

namespace {

std::function<void(FileEvent)>& Observer() {
    static std::function<void(FileEvent)> observer;
    return observer;
}

} // namespace

void SetFileEventObserver(std::function<void(FileEvent)> observer) {
    Observer() = std::move(observer);
}

void TellFileEvent(FileEvent event) {
    if (Observer()) Observer()(event);
}

} // namespace qvs
