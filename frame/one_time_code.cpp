#include "frame/one_time_code.h"

#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/program_state.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDateTime>
#include <QMessageAuthenticationCode>

namespace qvs {

namespace {

constexpr int kNoCodeText = 35132;
constexpr int kFirstErrorText = 35121; // TotpError::Empty, then in enum order

CodeClock& Clock() {
    static CodeClock clock;
    return clock;
}

QCryptographicHash::Algorithm HashOf(ardeko::TotpAlgorithm algorithm) {
    switch (algorithm) {
    case ardeko::TotpAlgorithm::Sha256:
        return QCryptographicHash::Sha256;
    case ardeko::TotpAlgorithm::Sha512:
        return QCryptographicHash::Sha512;
    case ardeko::TotpAlgorithm::Sha1:
        break;
    }
    return QCryptographicHash::Sha1;
}

} // namespace

std::string QtHmac(ardeko::TotpAlgorithm algorithm, std::string_view key,
                   std::string_view message) {
    const QByteArray mac = QMessageAuthenticationCode::hash(
        QByteArray::fromRawData(message.data(), static_cast<qsizetype>(message.size())),
        QByteArray::fromRawData(key.data(), static_cast<qsizetype>(key.size())), HashOf(algorithm));
    return mac.toStdString();
}

void SetCodeClock(CodeClock clock) {
    Clock() = std::move(clock);
}

std::int64_t CodeClockNow() {
    return Clock() ? Clock()() : QDateTime::currentSecsSinceEpoch();
}

std::optional<ardeko::TotpNow> CurrentCode(const std::string& stored) {
    if (stored.empty()) return std::nullopt;
    return ardeko::TotpCodeAt(stored, CodeClockNow(), &QtHmac);
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
    ShowMessage(GetLocalText(kNoCodeText).replace(QLatin1String("%s"), service), vbExclamation);
}

QString TotpErrorMessage(ardeko::TotpError error) {
    if (error == ardeko::TotpError::None) return {};
    return GetLocalText(kFirstErrorText + static_cast<int>(error) - 1);
}

} // namespace qvs
