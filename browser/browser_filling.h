// Browser filling in the running QVS: the protocol with the program's own
// file access and dialogs, made once at start-up, telling the browsers
// when the file locks or unlocks, and when it is opened, replaced or closed
// (QVS ending closes it too).
#pragma once

#include "browser/browser_requests.h"

namespace qvs::browser {

// Makes the protocol of this run (once; later calls do nothing).
void StartBrowserFilling();

// The one connection point for the socket qvs-proxy reaches: the socket
// hands over what reaches every connected browser (kept, not owned; it
// must outlive the run or be replaced) and gets the protocol that answers
// the messages. Starts browser filling when it was not yet. nullptr: the
// socket goes, and the browsers it reached hear that the file is gone.
Requests& ConnectBrowserSocket(Broadcast* broadcast);

} // namespace qvs::browser
