#include "app/slow_key_open.h"

#include "app/text_ids.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/modal_stack.h"
#include "frame/program_identity.h"
#include "frame/program_state.h"
#include "frame/wipe_text.h"
#include "store/crypto/secret_key.h"
#include "store/pw.h"
#include "store/slow_key.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLocale>
#include <QProgressDialog>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <memory>

namespace qvs {

namespace {

// The derivation, with its own copy of the password that it wipes.
struct Derivation {
    std::string password;
    std::string path;
    ardeko::FileKey key;
    bool made = false;
    ~Derivation() { ardeko::WipeString(password); }
};

// Seconds as the questions show them: whole seconds, or minutes.
QString WaitText(double seconds) {
    const long whole = std::max(1L, std::lround(seconds));
    if (whole < 120) return GetLocalText(text::kSlowKeySeconds).arg(whole);
    return GetLocalText(text::kSlowKeyMinutes).arg((whole + 30) / 60);
}

bool AskToWait(const QString& path, const ardeko::KdfParams& p, double seconds) {
    const QString text = GetLocalText(text::kSlowKeyQuestion)
                             .arg(path, QLocale().toString(p.passes),
                                  QLocale().toString(p.memoryKiB / 1024), WaitText(seconds));
    return ShowMessage(text, vbYesNo | vbQuestion | vbDefaultButton2, ProgramName()) == vbYes;
}

// Runs the derivation on a worker thread; the busy window keeps the program
// painting meanwhile. A derivation cannot be cut short, so there is no
// Cancel.
void DeriveAway(Derivation& d, double seconds) {
    QProgressDialog busy(GetLocalText(text::kSlowKeyBusy).arg(WaitText(seconds)), QString(), 0, 0,
                         DialogOwner());
    busy.setWindowTitle(ProgramName());
    // No Cancel button, and no room kept for one.
    busy.setCancelButton(nullptr);
    busy.resize(busy.sizeHint());
    busy.setWindowModality(Qt::ApplicationModal);
    busy.setMinimumDuration(0);
    busy.setValue(0);
    busy.show();
    // Painted before the derivation takes a core.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QEventLoop loop;
    const std::unique_ptr<QThread> worker(
        QThread::create([&d] { d.made = ardeko::DeriveKeyOfFile(d.path, d.password, d.key); }));
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker->wait();
}

} // namespace

bool PrepareSlowKey(const QString& path, const QString& password) {
    const std::optional<ardeko::KdfParams> params = Store().SlowKdfSettings();
    if (!params) return false;
    const double seconds = ardeko::EstimateKdfSeconds(*params);
    if (!AskToWait(path, *params, seconds)) return false;
    auto d = std::make_unique<Derivation>();
    d->path = path.toStdString();
    {
        const Utf8Secret secret(password);
        d->password.assign(secret.View());
    }
    // When no key could be made, the load that follows says why.
    DeriveAway(*d, seconds);
    if (d->made) Store().AdoptKey(std::move(d->key));
    return true;
}

} // namespace qvs
