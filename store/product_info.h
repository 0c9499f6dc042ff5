// Configuration: the product's name and its maker's pages, as the About box,
// the splash window and the export documents show them. Change them here only.
#pragma once

namespace ardeko {

inline constexpr char kProductTitle[] = "Quorvane";
inline constexpr char kMakerName[] = "Tarnwick";
inline constexpr char kMakerUrl[] = "https://tarnwick.example/";
inline constexpr char kProductUrl[] = "https://tarnwick.example/quorvane";
inline constexpr char kSupportMail[] = "support@tarnwick.example";

} // namespace ardeko
