// Who else must know when the open file goes or another one comes: the
// file commands tell, a higher layer (browser filling) listens through the
// one observer it sets at start-up.
#pragma once

#include <functional>

namespace qvs {

enum class FileEvent {
    Closed, // the open file went: closed, or about to be replaced by another
    Opened, // a file is open now: loaded from disk, or a new one made
};

// nullptr (or an empty function): nobody listens.
void SetFileEventObserver(std::function<void(FileEvent)> observer);
void TellFileEvent(FileEvent event);

} // namespace qvs
