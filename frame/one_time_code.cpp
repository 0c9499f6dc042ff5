#include "frame/one_time_code.h"

#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/program_state.h"
#include "frame/text_ids.h"
#include "store/otp_hmac.h"

#include <QDateTime>

namespace qvs {

namespace {

CodeClock& Clock() {
    static CodeClock clock;
    return clock;
}

} // namespace

void SetCodeClock(CodeClock clock) {
    Clock() = std::move(clock);
}

std::int64_t CodeClockNow() {
    return Clock() ? Clock()() : QDateTime::currentSecsSinceEpoch();
}

std::optional<ardeko::TotpNow> CurrentCode(const std::string& stored) {
    if (stored.empty()) return std::nullopt;
    return ardeko::TotpCodeAt(stored, CodeClockNow(), &ardeko::OtpHmac);
}

QString CurrentCodeText(const QString& service) {
    const ardeko::T_Password* found = Store().Password().Find(service.toStdString());
    const auto code = found ? CurrentCode(found->Totp) : std::nullopt;
    return code ? QString::fromStdString(code->code) : QString();
}

bool EntryHasCode(const QString& service) {
    const ardeko::T_Password* found = Store().Password().Find(service.toStdString());
    return found && !found->Totp.empty();
}

void ShowNoCodeMessage(const QString& service) {
    ShowMessage(GetLocalText(text::kNoOneTimeCode).replace(QLatin1String("%s"), service),
                vbExclamation);
}

QString TotpErrorMessage(ardeko::TotpError error) {
    if (error == ardeko::TotpError::None) return {};
    return GetLocalText(text::kFirstCodeSecretError + static_cast<int>(error) - 1);
}

} // namespace qvs
