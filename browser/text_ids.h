// Text ids of the questions the browser's requests raise (the scheme is in
// frame/text_ids.h).
#pragma once

namespace qvs::text {

inline constexpr int kConnectBrowserTitle = 38502;
inline constexpr int kConnectBrowserQuestion = 38503;
inline constexpr int kConnectionNameTaken = 38504;
inline constexpr int kSiteAsksTitle = 38505;
inline constexpr int kSiteAsksQuestion = 38506;
inline constexpr int kAllowOnce = 38507;
inline constexpr int kAllowAlways = 38508;
inline constexpr int kDenySite = 38509;
inline constexpr int kSaveLoginTitle = 38510;
inline constexpr int kSaveNewLogin = 38511;
inline constexpr int kUpdateLogin = 38512;
inline constexpr int kBrowserNeedsFormat2 = 38513;

} // namespace qvs::text
