// Short periods for the tests that follow a file on disk: they wait for the
// change, not for the programs' clock. kSeenMs is only a bound; a change is
// normally seen within a few tenths of a second.
#pragma once

#include "frame/file_watch.h"

// check, settle, retry; a file that stays unreadable this long is reported.
// The last stays well above the pauses the tests make while "writing" a
// file, so that a loaded machine does not turn a pause into a report.
inline constexpr qvs::WatchTiming kTestWatchTiming{200, 50, 100, 1000};
inline constexpr int kSeenMs = 5000;
