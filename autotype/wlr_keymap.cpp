#include "autotype/wlr_keymap.h"

#include <xkbcommon/xkbcommon-keysyms.h>
#include <xkbcommon/xkbcommon.h>

#include <map>

namespace qvs::wlr {

namespace {

// Key codes start here: 8 would be evdev's key 0, which clients ignore.
constexpr std::uint32_t kFirstCode = 9;

std::string SymName(std::uint32_t sym) {
    char name[64];
    if (xkb_keysym_get_name(sym, name, sizeof name) < 0) return "NoSymbol";
    return name;
}

std::string KeymapText(const std::vector<std::uint32_t>& syms) {
    std::string codes, symbols;
    for (std::size_t i = 0; i < syms.size(); ++i) {
        const std::string key = "<K" + std::to_string(i) + ">";
        codes += "    " + key + " = " + std::to_string(kFirstCode + i) + ";\n";
        symbols += "    key " + key + " { [ " + SymName(syms[i]) + " ] };\n";
    }
    return "xkb_keymap {\n"
           "  xkb_keycodes \"qvs\" {\n    minimum = 8;\n    maximum = 255;\n" +
           codes +
           "  };\n"
           "  xkb_types \"qvs\" { include \"complete\" };\n"
           "  xkb_compatibility \"qvs\" { include \"complete\" };\n"
           "  xkb_symbols \"qvs\" {\n" +
           symbols + "  };\n};\n";
}

void Finish(std::vector<KeyBatch>& batches, const std::vector<std::uint32_t>& order,
            std::vector<std::uint32_t>& keys) {
    if (keys.empty()) return;
    batches.push_back({KeymapText(order), std::move(keys)});
    keys.clear();
}

} // namespace

std::vector<std::uint32_t> KeySymsOf(const KeyStrokes& strokes) {
    std::vector<std::uint32_t> syms;
    for (const KeyStroke& stroke : strokes) {
        if (stroke.kind != KeyStroke::Kind::Text) {
            syms.push_back(stroke.kind == KeyStroke::Kind::Tab ? XKB_KEY_Tab : XKB_KEY_Return);
            continue;
        }
        for (const char32_t c : stroke.text.toUcs4()) {
            if (c == U'\n' || c == U'\r') {
                syms.push_back(XKB_KEY_Return);
                continue;
            }
            if (c == U'\t') {
                syms.push_back(XKB_KEY_Tab);
                continue;
            }
            if (const xkb_keysym_t sym = xkb_utf32_to_keysym(c)) syms.push_back(sym);
        }
    }
    return syms;
}

std::vector<KeyBatch> PlanKeys(const std::vector<std::uint32_t>& syms, std::size_t maxKeys) {
    std::vector<KeyBatch> batches;
    std::map<std::uint32_t, std::uint32_t> codeOf;
    std::vector<std::uint32_t> order, keys;
    for (const std::uint32_t sym : syms) {
        if (!codeOf.count(sym) && codeOf.size() == maxKeys) {
            Finish(batches, order, keys);
            codeOf.clear();
            order.clear();
        }
        const auto [at, added] = codeOf.emplace(sym, std::uint32_t(order.size()));
        if (added) order.push_back(sym);
        keys.push_back(kFirstCode + at->second - 8);
    }
    Finish(batches, order, keys);
    return batches;
}

} // namespace qvs::wlr
