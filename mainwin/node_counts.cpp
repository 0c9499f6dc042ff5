#include "mainwin/node_counts.h"

#include "mainwin/node_key.h"

namespace qvs {
namespace {

using Due = ardeko::clsPW::Due;

std::int32_t Lookup(const auto& map, auto key) {
    const auto it = map.find(key);
    return it == map.end() ? 0 : it->second;
}

void CountDue(NodeCounts& c, ardeko::clsPW::DueStatus due) {
    c.expiring += due.expiry == Due::Near;
    c.expired += due.expiry == Due::Past;
    c.changeSoon += due.change == Due::Near;
    c.changeDue += due.change == Due::Past;
}

std::int32_t DueStateCount(const NodeCounts& c, const QString& key) {
    if (key == QLatin1String(kExpiringKey)) return c.expiring;
    if (key == QLatin1String(kExpiredKey)) return c.expired;
    if (key == QLatin1String(kChangeSoonKey)) return c.changeSoon;
    if (key == QLatin1String(kChangeDueKey)) return c.changeDue;
    return 0;
}

} // namespace

std::int32_t NodeCounts::ForKey(const QString& key) const {
    const NodeCodes codes = ParseNodeKey(key, false);
    switch (NodeKindOf(key)) {
    case NodeKind::Root:
        return all;
    case NodeKind::Favourites:
        return favourites;
    case NodeKind::DueState:
        return DueStateCount(*this, key);
    case NodeKind::NoCategory:
    case NodeKind::Category:
        return Lookup(byCategory, codes.cat);
    case NodeKind::NoSubCategory:
    case NodeKind::SubCategory:
        return Lookup(bySubCategory, PairCode(codes.cat, codes.scat));
    case NodeKind::Unknown:
        break;
    }
    return 0;
}

NodeCounts CountNodes(const ardeko::clsPW& store) {
    NodeCounts c;
    for (const ardeko::T_Password& p : store.Password()) {
        ++c.all;
        c.favourites += p.Favourites;
        ++c.byCategory[p.Codcat];
        ++c.bySubCategory[NodeCounts::PairCode(p.Codcat, p.CodSCat)];
        CountDue(c, store.DueOf(p));
    }
    return c;
}

} // namespace qvs
