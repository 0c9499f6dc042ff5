// The product's name and its maker's pages (store/product_info.h), as the
// About box and the splash window show them.
#pragma once

#include "store/product_info.h"

#include <QString>

namespace qvs {

using ardeko::kMakerName;
using ardeko::kMakerUrl;
using ardeko::kProductTitle;
using ardeko::kProductUrl;
using ardeko::kSupportMail;

// The maker's page of the web item index (0 home, 1 update check, 2 forum,
// 3 support mail); the update check carries the program's version numbers.
// "" for an unknown index.
QString MakerPageUrl(int index);

} // namespace qvs
