// The X11 side of typing. Kept free of Qt: xdo.h and Xlib define macros
// (None, Bool, Status, KeyPress) that break Qt's headers.
#include "autotype/x11_typing.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
extern "C" {
#include <xdo.h>
}

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

namespace qvs::x11 {

namespace {

using namespace std::chrono_literals;

// A vanished window must not end the program: Xlib's default handler exits.
int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

struct XdoDeleter {
    void operator()(xdo_t* xdo) const { xdo_free(xdo); }
};
using Xdo = std::unique_ptr<xdo_t, XdoDeleter>;

Xdo OpenXdo() {
    XSetErrorHandler(IgnoreXError);
    Xdo xdo(xdo_new(nullptr));
    if (!xdo || !xdo->xdpy) return nullptr;
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(xdo->xdpy, &event, &error, &major, &minor)) return nullptr;
    return xdo;
}

void Pause(std::chrono::milliseconds time) {
    std::this_thread::sleep_for(time);
}

bool WindowExists(Display* display, Window window) {
    XWindowAttributes attributes;
    return window != 0 && XGetWindowAttributes(display, window, &attributes) != 0;
}

// The window manager's _NET_ACTIVE_WINDOW, read here rather than through
// libxdo, whose reading leaks the property on every call. 0 when none.
Window ReadActiveWindow(Display* display) {
    const Atom property = XInternAtom(display, "_NET_ACTIVE_WINDOW", True);
    if (property == 0) return 0; // no window manager that reports it
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window active = 0;
    if (XGetWindowProperty(display, DefaultRootWindow(display), property, 0, 1, False, XA_WINDOW,
                           &type, &format, &count, &after, &data) == Success &&
        data && count == 1 && format == 32)
        active = static_cast<Window>(*reinterpret_cast<unsigned long*>(data));
    if (data) XFree(data);
    return active;
}

bool WaitUntilActive(Display* display, Window window) {
    for (int tries = 0; tries < 40; ++tries) { // about 2 s
        if (ReadActiveWindow(display) == window) return true;
        Pause(50ms);
    }
    return false;
}

KeySym KeySymFor(char32_t c) {
    if (c == U'\n') return XK_Return;
    if (c == U'\t') return XK_Tab;
    if ((c >= 0x20 && c <= 0x7e) || (c >= 0xa0 && c <= 0xff)) return c;
    return 0x01000000 | c;
}

class Typer {
public:
    Typer(Display* display, Window window) : display_(display), window_(window) {
        XDisplayKeycodes(display_, &minCode_, &maxCode_);
        XkbStateRec state;
        if (XkbGetState(display_, XkbUseCoreKbd, &state) != Success) return;
        group_ = state.group;
        // A locked Caps Lock (or Shift Lock) flips the case of letters, also
        // of those typed through a borrowed key code, and Num Lock changes
        // the keypad: the levels chosen below assume no lock.
        locked_ = state.locked_mods;
        if (locked_) XkbLockModifiers(display_, XkbUseCoreKbd, locked_, 0);
    }
    ~Typer() {
        RestoreSpare();
        if (locked_) XkbLockModifiers(display_, XkbUseCoreKbd, locked_, locked_);
        XSync(display_, False);
    }
    Typer(const Typer&) = delete;
    Typer& operator=(const Typer&) = delete;

    // False, typing nothing, once another window has become active: the
    // rest of a password must not go there.
    bool Key(KeySym sym) {
        if (ReadActiveWindow(display_) != window_) return false;
        const KeyCode code = XKeysymToKeycode(display_, sym);
        int level = code ? LevelOf(code, sym) : -1;
        if (level == 0 || level == 1)
            Press(code, level == 1);
        else
            TypeThroughSpare(sym);
        return true;
    }

private:
    // The shift level (0 or 1) at which code gives sym in the current group,
    // from the core keyboard mapping (two keysyms per group).
    int LevelOf(KeyCode code, KeySym sym) const {
        int perCode = 0;
        KeySym* syms = XGetKeyboardMapping(display_, code, 1, &perCode);
        if (!syms) return -1;
        int found = -1;
        for (int level = 0; level < 2 && found < 0; ++level) {
            const int at = group_ * 2 + level;
            if (at < perCode && syms[at] == sym) found = level;
        }
        XFree(syms);
        return found;
    }

    void Press(KeyCode code, bool shifted) {
        const KeyCode shift = XKeysymToKeycode(display_, XK_Shift_L);
        if (shifted) XTestFakeKeyEvent(display_, shift, True, CurrentTime);
        XTestFakeKeyEvent(display_, code, True, CurrentTime);
        XTestFakeKeyEvent(display_, code, False, CurrentTime);
        if (shifted) XTestFakeKeyEvent(display_, shift, False, CurrentTime);
        XSync(display_, False);
        Pause(5ms);
    }

    // A character the layout lacks: map it on an unused keycode for one
    // press. Clients re-read the map asynchronously, hence the pauses.
    void TypeThroughSpare(KeySym sym) {
        if (!FindSpare()) return;
        KeySym syms[2] = {sym, sym};
        XChangeKeyboardMapping(display_, spare_, 2, syms, 1);
        XSync(display_, False);
        Pause(50ms);
        Press(static_cast<KeyCode>(spare_), false);
        Pause(50ms);
    }

    bool FindSpare() {
        if (spare_) return true;
        int perCode = 0;
        const int count = maxCode_ - minCode_ + 1;
        KeySym* map =
            XGetKeyboardMapping(display_, static_cast<KeyCode>(minCode_), count, &perCode);
        if (!map) return false;
        for (int code = maxCode_; code >= minCode_ && !spare_; --code) {
            bool empty = true;
            for (int i = 0; i < perCode; ++i)
                empty = empty && map[(code - minCode_) * perCode + i] == NoSymbol;
            if (empty) spare_ = code;
        }
        XFree(map);
        return spare_ != 0;
    }

    void RestoreSpare() {
        if (!spare_) return;
        KeySym none[1] = {NoSymbol};
        XChangeKeyboardMapping(display_, spare_, 1, none, 1);
        XSync(display_, False);
    }

    Display* display_;
    Window window_;
    unsigned int locked_ = 0;
    int minCode_ = 8, maxCode_ = 255;
    int group_ = 0;
    int spare_ = 0;
};

bool TypeStroke(Typer& typer, const Stroke& stroke) {
    switch (stroke.kind) {
    case Stroke::Kind::Tab:
        return typer.Key(XK_Tab);
    case Stroke::Kind::Enter:
        return typer.Key(XK_Return);
    case Stroke::Kind::Text:
        break;
    }
    for (char32_t c : stroke.text)
        if (!typer.Key(KeySymFor(c))) return false;
    return true;
}

} // namespace

bool Available() {
    return OpenXdo() != nullptr;
}

std::uint64_t ActiveWindow() {
    const Xdo xdo = OpenXdo();
    return xdo ? ReadActiveWindow(xdo->xdpy) : 0;
}

TypeResult ActivateAndType(std::uint64_t target, const std::vector<Stroke>& strokes) {
    const Xdo xdo = OpenXdo();
    if (!xdo) return TypeResult::NoDisplay;
    const Window window = static_cast<Window>(target);
    if (!WindowExists(xdo->xdpy, window)) return TypeResult::NoWindow;
    xdo_map_window(xdo.get(), window); // restores a minimised window
    xdo_activate_window(xdo.get(), window);
    if (!WaitUntilActive(xdo->xdpy, window)) return TypeResult::NotActivated;

    // Before the held keys are looked at: the locks are the typer's.
    Typer typer(xdo->xdpy, window);
    charcodemap_t* held = nullptr;
    int heldCount = 0;
    xdo_get_active_modifiers(xdo.get(), &held, &heldCount);
    if (heldCount > 0) xdo_clear_active_modifiers(xdo.get(), CURRENTWINDOW, held, heldCount);
    free(held);

    for (const Stroke& stroke : strokes)
        if (!TypeStroke(typer, stroke)) return TypeResult::FocusMoved;
    XSync(xdo->xdpy, False);
    return TypeResult::Typed;
}

struct ActiveWindowWatch::Connection {
    struct Closer {
        void operator()(Display* display) const { XCloseDisplay(display); }
    };
    std::unique_ptr<Display, Closer> display;
    Atom active = 0;
};

ActiveWindowWatch::ActiveWindowWatch() {
    XSetErrorHandler(IgnoreXError);
    Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    connection_ = std::make_unique<Connection>();
    connection_->display.reset(display);
    connection_->active = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    // Our own mask on the root window: other clients' masks stay as they are.
    XSelectInput(display, DefaultRootWindow(display), PropertyChangeMask);
    XFlush(display);
}

ActiveWindowWatch::~ActiveWindowWatch() = default;

int ActiveWindowWatch::Socket() const {
    return connection_ ? ConnectionNumber(connection_->display.get()) : -1;
}

std::optional<std::uint64_t> ActiveWindowWatch::TakeChange() {
    if (!connection_) return std::nullopt;
    Display* display = connection_->display.get();
    std::optional<std::uint64_t> active;
    // Read on this connection: events that arrive meanwhile are queued and
    // taken by the same loop, so none waits for the socket's next signal.
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == PropertyNotify && event.xproperty.atom == connection_->active)
            active = ReadActiveWindow(display);
    }
    return active;
}

} // namespace qvs::x11
