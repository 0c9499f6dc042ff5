// How long opening a file takes with its key settings: measured once on
// this machine, away from the window's thread, and scaled for other
// settings. The change-password window says so before a user makes every
// open slower.
#pragma once

#include "store/crypto/kdf.h"

#include <QObject>

class QThread;

namespace qvs {

// Seconds an open takes with to, given that it takes seconds with from: the
// derivation's time grows with its passes and its memory alike.
double ScaledOpenSeconds(double seconds, const ardeko::KdfParams& from,
                         const ardeko::KdfParams& to);

class OpenTimer : public QObject {
    Q_OBJECT
public:
    explicit OpenTimer(QObject* parent = nullptr);
    // Waits for a measurement still running: it holds memory and a thread.
    ~OpenTimer() override;

    // Starts measuring one derivation with params, unless one runs or was
    // made; Measured reports it.
    void Measure(const ardeko::KdfParams& params);
    bool HasResult() const { return seconds_ >= 0; }
    double Seconds() const { return seconds_; }

signals:
    void Measured(double seconds);

private:
    QThread* thread_ = nullptr;
    double seconds_ = -1;
};

} // namespace qvs
