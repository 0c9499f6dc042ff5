// A data file that does not open may have been caught while another program
// (a sync tool, QVS on this or another machine) was still writing it. Both
// programs look at it again, every kRetryMs, as long as its size or time
// keeps changing, and a few times more once they stay put, before they say
// anything about it.
#pragma once

#include "frame/file_watch.h"

#include <QElapsedTimer>

namespace qvs {

class ReadRetry {
public:
    static constexpr int kRetryMs = 1000;

    // After a failed read of the version now: true when it is to be read
    // again in kRetryMs. Timed rather than counted, as several checks (the
    // watch's, the retries') may fail on one version.
    bool Again(const FileStamp& now) {
        if (now != last_ || !since_.isValid()) {
            last_ = now;
            since_.start();
        }
        return since_.elapsed() < kUnchangedMs;
    }
    void Reset() {
        last_ = {};
        since_.invalidate();
    }

private:
    static constexpr int kUnchangedMs = 2000;
    FileStamp last_;
    QElapsedTimer since_; // since the version last_ first failed
};

} // namespace qvs
