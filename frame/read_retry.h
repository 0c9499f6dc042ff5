// A data file that does not open may have been caught while another program
// (a sync tool, QVS on this or another machine) was still writing it. Both
// programs look at it again, every RetryMs(), as long as its size or time
// keeps changing, and a few times more once they stay put, before they say
// anything about it.
#pragma once

#include "frame/file_watch.h"

#include <QElapsedTimer>

namespace qvs {

class ReadRetry {
public:
    void SetTiming(const WatchTiming& timing) {
        retryMs_ = timing.retryMs;
        unchangedMs_ = timing.unchangedMs;
    }
    int RetryMs() const { return retryMs_; }

    // After a failed read of the version now: true when it is to be read
    // again in RetryMs(). Timed rather than counted, as several checks (the
    // watch's, the retries') may fail on one version.
    bool Again(const FileStamp& now) {
        if (now != last_ || !since_.isValid()) {
            last_ = now;
            since_.start();
        }
        return since_.elapsed() < unchangedMs_;
    }
    void Reset() {
        last_ = {};
        since_.invalidate();
    }

private:
    int retryMs_ = WatchTiming().retryMs;
    int unchangedMs_ = WatchTiming().unchangedMs;
    FileStamp last_;
    QElapsedTimer since_; // since the version last_ first failed
};

} // namespace qvs
