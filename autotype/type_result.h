// How a typing attempt ended, shared by every typing back-end. Free of Qt and
// of any windowing system's headers, so each back-end's own code can use it.
#pragma once

namespace qvs {

enum class TypeResult {
    Typed,
    NoDisplay,    // no desktop connection to type through could be opened
    NoWindow,     // the window is gone (or was none)
    NotActivated, // the desktop did not make it active in time
    FocusMoved,   // another window became active while typing: the rest was not typed
    Failed,       // the desktop refused the keyboard or dropped the connection
};

} // namespace qvs
