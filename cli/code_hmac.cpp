#include "cli/code_hmac.h"

#include <QByteArray>
#include <QMessageAuthenticationCode>

namespace qvs {

std::string CliHmac(ardeko::TotpAlgorithm algorithm, std::string_view key,
                    std::string_view message) {
    const auto method = algorithm == ardeko::TotpAlgorithm::Sha256   ? QCryptographicHash::Sha256
                        : algorithm == ardeko::TotpAlgorithm::Sha512 ? QCryptographicHash::Sha512
                                                                     : QCryptographicHash::Sha1;
    QMessageAuthenticationCode mac(method);
    // The key is handed over without a copy of our own left behind.
    mac.setKey(QByteArray::fromRawData(key.data(), static_cast<qsizetype>(key.size())));
    mac.addData(message.data(), static_cast<qsizetype>(message.size()));
    return mac.result().toStdString();
}

} // namespace qvs
