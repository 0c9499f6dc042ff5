// Text ids of typing into other programs' windows (the scheme is in
// frame/text_ids.h).
#pragma once

namespace qvs::text {

// Typing through the desktop portal (GNOME, KDE Plasma on Wayland)
inline constexpr int kNoTypingPortal = 38750;
inline constexpr int kTypingPortalTooOld = 38751;
inline constexpr int kPortalTypingRefused = 38752;
inline constexpr int kPortalTypingFailed = 38753;
// The portal failing before the first key, and a typing asked for while
// the last is under way: nothing was typed
inline constexpr int kTypingPortalNoAnswer = 38800;
inline constexpr int kTypingPortalNoSession = 38801;
inline constexpr int kTypingPortalFirstKeyFailed = 38802;
inline constexpr int kTypingStillBusy = 38803;

// Typing into other programs' windows
inline constexpr int kNoTypingDisplay = 31800;
inline constexpr int kTypingXWaylandOnly = 31801;
inline constexpr int kTypingFocusMoved = 33810;
inline constexpr int kNoWindowToType = 35139;
inline constexpr int kTypingNotActivated = 35140;
inline constexpr int kTypingFailed = 38700;

} // namespace qvs::text
