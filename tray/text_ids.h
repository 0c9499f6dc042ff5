// Text ids of the tray icon and its reminders; QVS's window switching uses
// them too (the scheme is in frame/text_ids.h).
#pragma once

namespace qvs::text {

// No notification area
inline constexpr int kNoTrayStaysInWindow = 31802; // QVS keeps its window
inline constexpr int kGnomeTrayExtension = 38754;  // how GNOME gets a tray

// Reminder of due passwords
inline constexpr int kDueExpiredOne = 32300;
inline constexpr int kDueExpiredMany = 32301;
inline constexpr int kDueChangeOne = 32302;
inline constexpr int kDueChangeMany = 32303;
inline constexpr int kReminderTitle = 32304;
inline constexpr int kReminderClick = 32305;

// Tray menu
inline constexpr int kTrayEntryGone = 33900;

} // namespace qvs::text
