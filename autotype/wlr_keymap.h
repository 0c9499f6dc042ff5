// The keymaps a virtual keyboard uploads to type a text: each holds exactly
// the key symbols the text needs, one key apiece at the first level, so any
// character types whatever the user's own layout, and no modifier (Shift,
// Caps Lock) is ever needed.
#pragma once

#include "autotype/login_text.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qvs::wlr {

// One keymap and the keys to press with it, in order (evdev key numbers:
// the keymap's key codes less 8).
struct KeyBatch {
    std::string keymap;
    std::vector<std::uint32_t> keys;
};

// The key symbols of strokes, one per key press: each character's own, Tab
// and Return for the named keys. Line breaks inside a text are Return.
std::vector<std::uint32_t> KeySymsOf(const KeyStrokes& strokes);

// Splits syms into batches of at most maxKeys different symbols each (a
// keymap holds no more than 247 keys), in typing order.
std::vector<KeyBatch> PlanKeys(const std::vector<std::uint32_t>& syms, std::size_t maxKeys = 200);

} // namespace qvs::wlr
