// Text ids only QVSLite uses (the scheme is in frame/text_ids.h).
#pragma once

namespace qvs::text {

// QVSLite tray
inline constexpr int kNoQvs = 32400;
inline constexpr int kReopenFile = 32403;

// QVSLite following the data file
inline constexpr int kFollowedFileVanished = 32401;
inline constexpr int kFollowedFileUnreadable = 32402;
inline constexpr int kNoTrayForLite = 32404;

} // namespace qvs::text
