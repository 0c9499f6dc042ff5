#include "autotype/wlr_backend.h"

#include "autotype/wlr_keymap.h"

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QThread>

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>

namespace qvs {

namespace {

using Backend = WlrTypingBackend;

constexpr int kActivateWaitMs = 2000;
constexpr int kKeymapSettleMs = 60;

Backend* Of(void* data) {
    return static_cast<Backend*>(data);
}

void Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
            std::uint32_t version) {
    auto* globals = static_cast<Backend::Globals*>(data);
    const std::string_view which(interface);
    if (which == wl_seat_interface.name && !globals->seat)
        globals->seat =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    if (which == zwp_virtual_keyboard_manager_v1_interface.name)
        globals->keyboards = static_cast<zwp_virtual_keyboard_manager_v1*>(
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
    if (which == zwlr_foreign_toplevel_manager_v1_interface.name)
        globals->toplevels = static_cast<zwlr_foreign_toplevel_manager_v1*>(wl_registry_bind(
            registry, name, &zwlr_foreign_toplevel_manager_v1_interface, std::min(version, 3u)));
}

void GlobalRemove(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener kRegistry{Global, GlobalRemove};

void Title(void*, zwlr_foreign_toplevel_handle_v1*, const char*) {}
void AppId(void* data, zwlr_foreign_toplevel_handle_v1* handle, const char* id) {
    if (auto* toplevel = Of(data)->Find(handle)) toplevel->appId = id;
}
void OutputEnter(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}
void OutputLeave(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}
void State(void* data, zwlr_foreign_toplevel_handle_v1* handle, wl_array* states) {
    auto* toplevel = Of(data)->Find(handle);
    if (!toplevel) return;
    toplevel->nextActivated = toplevel->nextMinimized = false;
    const auto* state = static_cast<const std::uint32_t*>(states->data);
    for (std::size_t i = 0; i < states->size / sizeof(std::uint32_t); ++i) {
        if (state[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED)
            toplevel->nextActivated = true;
        if (state[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_MINIMIZED)
            toplevel->nextMinimized = true;
    }
}
void Done(void* data, zwlr_foreign_toplevel_handle_v1* handle) {
    Of(data)->ToplevelDone(handle);
}
void Closed(void* data, zwlr_foreign_toplevel_handle_v1* handle) {
    Of(data)->ToplevelClosed(handle);
}
void Parent(void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {}

const zwlr_foreign_toplevel_handle_v1_listener kToplevel{Title, AppId, OutputEnter, OutputLeave,
                                                         State, Done,  Closed,      Parent};

void NewToplevel(void* data, zwlr_foreign_toplevel_manager_v1*,
                 zwlr_foreign_toplevel_handle_v1* handle) {
    Of(data)->AddToplevel(handle);
}
void Finished(void*, zwlr_foreign_toplevel_manager_v1*) {}

const zwlr_foreign_toplevel_manager_v1_listener kManager{NewToplevel, Finished};

// The app id the compositor gives this program's own windows, as Qt sets it.
std::string OwnAppId() {
    QString id = QGuiApplication::desktopFileName();
    if (id.endsWith(QLatin1String(".desktop"))) id.chop(8);
    if (!id.isEmpty()) return id.toStdString();
    id = QFileInfo(QCoreApplication::applicationFilePath()).baseName();
    QStringList domain = QCoreApplication::organizationDomain().split(u'.', Qt::SkipEmptyParts);
    std::reverse(domain.begin(), domain.end());
    if (!domain.isEmpty()) id = domain.join(u'.') + u'.' + id;
    return id.toStdString();
}

std::uint32_t Now() {
    static QElapsedTimer clock;
    if (!clock.isValid()) clock.start();
    return std::uint32_t(clock.elapsed());
}

// Hands keymap to the compositor through an anonymous memory file: the
// keymap names the characters of a password, so it never touches a disk.
bool UploadKeymap(zwp_virtual_keyboard_v1* keyboard, const std::string& keymap) {
    const int fd = memfd_create("qvs-keymap", MFD_CLOEXEC);
    if (fd < 0) return false;
    const std::size_t size = keymap.size() + 1;
    const bool written = write(fd, keymap.c_str(), size) == ssize_t(size);
    // The request sends a copy of the descriptor.
    if (written)
        zwp_virtual_keyboard_v1_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                       std::uint32_t(size));
    close(fd);
    return written;
}

struct KeyboardDeleter {
    void operator()(zwp_virtual_keyboard_v1* keyboard) const {
        zwp_virtual_keyboard_v1_destroy(keyboard);
    }
};

} // namespace

std::unique_ptr<WlrTypingBackend> WlrTypingBackend::Connect() {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) return nullptr;
    std::unique_ptr<WlrTypingBackend> backend(new WlrTypingBackend(display));
    if (!backend->globals_.seat || !backend->globals_.keyboards || !backend->globals_.toplevels)
        return nullptr;
    zwlr_foreign_toplevel_manager_v1_add_listener(backend->globals_.toplevels, &kManager,
                                                  backend.get());
    // The windows there are, and which is active, before anyone asks.
    if (!backend->Sync() || !backend->Sync()) return nullptr;
    backend->notifier_ =
        new QSocketNotifier(wl_display_get_fd(display), QSocketNotifier::Read, backend.get());
    connect(backend->notifier_, &QSocketNotifier::activated, backend.get(),
            [b = backend.get()] { b->Dispatch(); });
    return backend;
}

WlrTypingBackend::WlrTypingBackend(wl_display* display) : display_(display) {
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &kRegistry, &globals_);
    wl_display_roundtrip(display_);
}

WlrTypingBackend::~WlrTypingBackend() {
    for (const auto& toplevel : toplevels_)
        zwlr_foreign_toplevel_handle_v1_destroy(toplevel.first);
    if (globals_.toplevels) zwlr_foreign_toplevel_manager_v1_destroy(globals_.toplevels);
    if (globals_.keyboards) zwp_virtual_keyboard_manager_v1_destroy(globals_.keyboards);
    if (globals_.seat) wl_seat_destroy(globals_.seat);
    if (registry_) wl_registry_destroy(registry_);
    wl_display_disconnect(display_);
}

bool WlrTypingBackend::Sync() {
    if (!lost_ && wl_display_roundtrip(display_) < 0) lost_ = true;
    return !lost_;
}

void WlrTypingBackend::Dispatch() {
    if (wl_display_dispatch(display_) >= 0) return;
    lost_ = true;
    notifier_->setEnabled(false);
}

void WlrTypingBackend::AddToplevel(zwlr_foreign_toplevel_handle_v1* handle) {
    toplevels_[handle].id = nextId_++;
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &kToplevel, this);
}

WlrTypingBackend::Toplevel* WlrTypingBackend::Find(zwlr_foreign_toplevel_handle_v1* handle) {
    const auto found = toplevels_.find(handle);
    return found == toplevels_.end() ? nullptr : &found->second;
}

void WlrTypingBackend::ToplevelDone(zwlr_foreign_toplevel_handle_v1* handle) {
    Toplevel* toplevel = Find(handle);
    if (!toplevel) return;
    const bool becameActive = toplevel->nextActivated && !toplevel->activated;
    toplevel->activated = toplevel->nextActivated;
    toplevel->minimized = toplevel->nextMinimized;
    if (becameActive) {
        active_ = toplevel->id;
        emit ActiveWindowChanged(active_);
    } else if (!toplevel->activated && active_ == toplevel->id) {
        active_ = 0;
    }
}

void WlrTypingBackend::ToplevelClosed(zwlr_foreign_toplevel_handle_v1* handle) {
    const auto found = toplevels_.find(handle);
    if (found == toplevels_.end()) return;
    if (active_ == found->second.id) active_ = 0;
    toplevels_.erase(found);
    zwlr_foreign_toplevel_handle_v1_destroy(handle);
}

std::uint64_t WlrTypingBackend::ActiveWindow() {
    Sync();
    return active_;
}

bool WlrTypingBackend::IsOwnWindow(std::uint64_t window) {
    static const std::string own = OwnAppId();
    for (const auto& [handle, toplevel] : toplevels_)
        if (toplevel.id == window) return toplevel.appId == own;
    return false;
}

zwlr_foreign_toplevel_handle_v1* WlrTypingBackend::HandleOf(std::uint64_t window) const {
    for (const auto& [handle, toplevel] : toplevels_)
        if (toplevel.id == window) return handle;
    return nullptr;
}

void WlrTypingBackend::Type(std::uint64_t window, const KeyStrokes& strokes, TypingDone done) {
    const TypeResult result = TypeKeys(window, strokes);
    // The virtual keyboard's end reaches the compositor now, not at the next
    // typing.
    if (!lost_) wl_display_flush(display_);
    done({result, 0});
}

TypeResult WlrTypingBackend::Activate(zwlr_foreign_toplevel_handle_v1* handle,
                                      std::uint64_t window) {
    if (active_ == window) return TypeResult::Typed;
    if (Find(handle)->minimized) zwlr_foreign_toplevel_handle_v1_unset_minimized(handle);
    zwlr_foreign_toplevel_handle_v1_activate(handle, globals_.seat);
    QElapsedTimer waited;
    waited.start();
    while (Sync() && active_ != window) {
        if (!HandleOf(window)) return TypeResult::NoWindow;
        if (waited.elapsed() > kActivateWaitMs) return TypeResult::NotActivated;
        QThread::msleep(20);
    }
    return lost_ ? TypeResult::Failed : TypeResult::Typed;
}

// Typing stops before any key that would go elsewhere: the rest of a
// password must not land in another window.
TypeResult WlrTypingBackend::TypeKeys(std::uint64_t window, const KeyStrokes& strokes) {
    if (!Sync()) return TypeResult::Failed;
    zwlr_foreign_toplevel_handle_v1* handle = window ? HandleOf(window) : nullptr;
    if (!handle) return TypeResult::NoWindow;
    if (const TypeResult activated = Activate(handle, window); activated != TypeResult::Typed)
        return activated;
    const std::unique_ptr<zwp_virtual_keyboard_v1, KeyboardDeleter> keyboard(
        zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(globals_.keyboards, globals_.seat));
    for (const wlr::KeyBatch& batch : wlr::PlanKeys(wlr::KeySymsOf(strokes))) {
        if (!UploadKeymap(keyboard.get(), batch.keymap)) return TypeResult::Failed;
        // No modifier of ours is down or locked: each key's one symbol
        // types as it stands, Caps Lock or not.
        zwp_virtual_keyboard_v1_modifiers(keyboard.get(), 0, 0, 0, 0);
        // Clients take a new keymap in their own time: keys sent at once
        // were seen to go missing.
        if (!Sync()) return TypeResult::Failed;
        QThread::msleep(kKeymapSettleMs);
        for (const std::uint32_t key : batch.keys) {
            if (!Sync()) return TypeResult::Failed;
            if (active_ != window) return TypeResult::FocusMoved;
            zwp_virtual_keyboard_v1_key(keyboard.get(), Now(), key, WL_KEYBOARD_KEY_STATE_PRESSED);
            zwp_virtual_keyboard_v1_key(keyboard.get(), Now(), key, WL_KEYBOARD_KEY_STATE_RELEASED);
        }
    }
    return Sync() ? TypeResult::Typed : TypeResult::Failed;
}

} // namespace qvs
