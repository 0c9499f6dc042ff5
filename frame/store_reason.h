// Why the store refused an operation, in the user's language. The store
// words its reasons in English for logs and scripts; a window shows the
// translated text of the reasons it knows.
#pragma once

#include <QString>

namespace ardeko {
class clsPW;
}

namespace qvs {

// The translated reason for the store's last failure; the store's own words
// for a reason without a translation, "" when it recorded none.
QString StoreReason(const ardeko::clsPW& store);

} // namespace qvs
