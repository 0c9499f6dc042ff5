// Typing on wlroots compositors (sway, Hyprland, river, labwc, Wayfire):
// the virtual-keyboard protocol types, with keymaps of our own (see
// wlr_keymap.h), and the foreign-toplevel protocol follows which window is
// active and activates the one to type into, as the X11 path does.
#pragma once

#include "autotype/typing_backend.h"

#include <map>
#include <memory>
#include <string>

struct wl_display;
struct wl_registry;
struct wl_seat;
struct zwp_virtual_keyboard_manager_v1;
struct zwlr_foreign_toplevel_manager_v1;
struct zwlr_foreign_toplevel_handle_v1;
class QSocketNotifier;

namespace qvs {

class WlrTypingBackend : public TypingBackend {
    Q_OBJECT
public:
    // nullptr when no Wayland display can be reached or the compositor lacks
    // either protocol (GNOME, KDE Plasma).
    static std::unique_ptr<WlrTypingBackend> Connect();
    ~WlrTypingBackend() override;

    QString Name() const override { return QStringLiteral("wlroots"); }
    TypingSupport Support() const override { return TypingSupport::Full; }
    bool KnowsWindows() const override { return true; }
    std::uint64_t ActiveWindow() override;
    bool IsOwnWindow(std::uint64_t window) override;
    void Type(std::uint64_t window, const KeyStrokes& strokes, TypingDone done) override;

    // What the compositor's listeners fill in; public only for them.
    struct Toplevel {
        std::uint64_t id = 0;
        std::string appId;
        bool activated = false, minimized = false;         // as last done
        bool nextActivated = false, nextMinimized = false; // until done
    };
    struct Globals {
        wl_seat* seat = nullptr;
        zwp_virtual_keyboard_manager_v1* keyboards = nullptr;
        zwlr_foreign_toplevel_manager_v1* toplevels = nullptr;
    };
    void AddToplevel(zwlr_foreign_toplevel_handle_v1* handle);
    void ToplevelDone(zwlr_foreign_toplevel_handle_v1* handle);
    void ToplevelClosed(zwlr_foreign_toplevel_handle_v1* handle);
    Toplevel* Find(zwlr_foreign_toplevel_handle_v1* handle);

private:
    explicit WlrTypingBackend(wl_display* display);
    // Reads and handles what the compositor sent; false once the connection
    // is lost.
    bool Sync();
    void Dispatch();
    zwlr_foreign_toplevel_handle_v1* HandleOf(std::uint64_t window) const;
    TypeResult Activate(zwlr_foreign_toplevel_handle_v1* handle, std::uint64_t window);
    TypeResult TypeKeys(std::uint64_t window, const KeyStrokes& strokes);

    wl_display* display_;
    wl_registry* registry_ = nullptr;
    Globals globals_;
    std::map<zwlr_foreign_toplevel_handle_v1*, Toplevel> toplevels_;
    std::uint64_t nextId_ = 1;
    std::uint64_t active_ = 0;
    QSocketNotifier* notifier_ = nullptr;
    bool lost_ = false;
};

} // namespace qvs
