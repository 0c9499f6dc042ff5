// Configuration: the product's name and its maker's pages, as the About box
// and the splash window show them. Change them here only.
#pragma once

#include <QString>

namespace qvs {

inline constexpr char kProductTitle[] = "Quorvane";
inline constexpr char kMakerName[] = "Tarnwick";
inline constexpr char kMakerUrl[] = "https://tarnwick.example/";
inline constexpr char kProductUrl[] = "https://tarnwick.example/quorvane";
inline constexpr char kSupportMail[] = "support@tarnwick.example";

// The maker's page of the web item index (0 home, 1 update check, 2 forum,
// 3 support mail); the update check carries the program's version numbers.
// "" for an unknown index.
QString MakerPageUrl(int index);

} // namespace qvs
