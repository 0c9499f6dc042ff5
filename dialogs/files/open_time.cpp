#include "dialogs/files/open_time.h"

#include <QThread>

#include <chrono>
#include <memory>

namespace qvs {

double ScaledOpenSeconds(double seconds, const ardeko::KdfParams& from,
                         const ardeko::KdfParams& to) {
    const double before = double(from.passes) * double(from.memoryKiB);
    if (before <= 0) return seconds;
    return seconds * double(to.passes) * double(to.memoryKiB) / before;
}

OpenTimer::OpenTimer(QObject* parent) : QObject(parent) {}

OpenTimer::~OpenTimer() {
    if (thread_) thread_->wait();
}

void OpenTimer::Measure(const ardeko::KdfParams& params) {
    if (thread_ || HasResult()) return;
    auto took = std::make_shared<double>(0);
    thread_ = QThread::create([params, took] {
        // A throw-away password and salt: only the time counts.
        ardeko::FileKey key;
        const ardeko::Salt salt{};
        const auto start = std::chrono::steady_clock::now();
        ardeko::DeriveFileKey("measure", params, salt, key);
        *took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    });
    thread_->setParent(this);
    connect(thread_, &QThread::finished, this, [this, took] {
        thread_->deleteLater();
        thread_ = nullptr;
        seconds_ = *took;
        emit Measured(seconds_);
    });
    thread_->start(QThread::LowPriority);
}

} // namespace qvs
