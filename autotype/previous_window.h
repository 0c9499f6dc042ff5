// The window the user worked in before coming to this program: where the
// main window's typing commands type. Unlike the tray menu, the main window
// is active by the time its command runs, so the window before it has to be
// followed all along, through the session's typing back-end.
#pragma once

#include <QObject>

#include <cstdint>
#include <functional>

namespace qvs {

// Whether window is one of this program's own top-level windows.
bool IsOwnWindow(std::uint64_t window);

class PreviousWindow : public QObject {
public:
    using OwnTest = std::function<bool(std::uint64_t)>;
    explicit PreviousWindow(OwnTest isOwn = IsOwnWindow, QObject* parent = nullptr);

    // The last other program's window that was active; 0 when none was seen
    // or nothing can be typed here; kFocusedWindow where the desktop does not
    // tell windows apart.
    std::uint64_t Window() const { return window_; }

private:
    void Note(std::uint64_t active);

    OwnTest isOwn_;
    std::uint64_t window_ = 0;
};

} // namespace qvs
