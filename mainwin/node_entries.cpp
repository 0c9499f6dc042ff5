#include "mainwin/node_entries.h"

#include "mainwin/node_key.h"
#include "store/pw.h"

namespace qvs {

using ardeko::clsPW;
using ardeko::T_Password;

namespace {

using Due = clsPW::Due;

EntryPredicate ExpiryIs(const clsPW& store, Due due) {
    return [&store, due](const T_Password& p) { return store.DueOf(p).expiry == due; };
}

EntryPredicate ChangeIs(const clsPW& store, Due due) {
    return [&store, due](const T_Password& p) { return store.DueOf(p).change == due; };
}

EntryPredicate FiledUnder(NodeCodes codes) {
    return [codes](const T_Password& p) {
        return (codes.cat == kAnyCode || p.Codcat == codes.cat) &&
               (codes.scat == kAnyCode || p.CodSCat == codes.scat);
    };
}

} // namespace

EntryPredicate NodeEntries(const QString& key, const clsPW& store) {
    if (key == QLatin1String(kFavouritesKey))
        return [](const T_Password& p) { return p.Favourites; };
    if (key == QLatin1String(kExpiringKey)) return ExpiryIs(store, Due::Near);
    if (key == QLatin1String(kExpiredKey)) return ExpiryIs(store, Due::Past);
    if (key == QLatin1String(kChangeSoonKey)) return ChangeIs(store, Due::Near);
    if (key == QLatin1String(kChangeDueKey)) return ChangeIs(store, Due::Past);
    return FiledUnder(ParseNodeKey(key, true));
}

} // namespace qvs
