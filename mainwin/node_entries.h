// Which entries a node of the category tree lists in the entry grid. The
// state folders use the store's own expiry rules, so a folder always lists
// as many entries as its counter says.
#pragma once

#include "store/records.h"

#include <QString>

#include <functional>

namespace ardeko {
class clsPW;
}

namespace qvs {

using EntryPredicate = std::function<bool(const ardeko::T_Password&)>;

// The test for the entries of the node with this key. It reads store (for
// the date rules) when called, so store must outlive it.
EntryPredicate NodeEntries(const QString& key, const ardeko::clsPW& store);

} // namespace qvs
