#include "store/entry_pack.h"

#include "store/crypto/secret_key.h"
#include "store/format2/body.h"
#include "store/keyed_collection.h"
#include "store/legacy/legacy_file.h"

#include <type_traits>

namespace ardeko {

std::string PackEntry(const T_Password& entry) {
    const KeyedCollection<T_Categ> categories;
    const KeyedCollection<T_SCateg> subcategories;
    const KeyedCollection<T_Node> nodes;
    KeyedCollection<T_Password> entries;
    entries.Append(entry.service, entry);
    const StoreContents contents{categories, subcategories, entries, nodes};
    // Written into a buffer of its final size: no copy is left behind.
    std::string out(BodySize(contents), '\0');
    WriteBody(contents, out.data());
    WipeEntry(const_cast<T_Password&>(entries[0])); // the collection's own copy
    return out;
}

bool UnpackEntry(std::string_view bytes, T_Password& out) {
    DecodedFile f;
    if (!ReadBody(bytes, false, f) || f.passwords.size() != 1) {
        for (T_Password& p : f.passwords)
            WipeEntry(p);
        return false;
    }
    out = std::move(f.passwords.front());
    WipeEntry(f.passwords.front());
    return true;
}

void WipeEntry(T_Password& entry) {
    VisitFields(entry, [](const char*, auto& f) {
        if constexpr (std::is_same_v<std::decay_t<decltype(f)>, std::string>) WipeString(f);
    });
    WipeString(entry.Totp);
    for (T_PwHistory& h : entry.History)
        WipeString(h.pw);
    for (T_CustomField& c : entry.Fields) {
        WipeString(c.name);
        WipeString(c.value);
    }
    entry.History.clear();
    entry.Fields.clear();
}

} // namespace ardeko
