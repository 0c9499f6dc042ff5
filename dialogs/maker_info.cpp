#include "dialogs/maker_info.h"

#include <QCoreApplication>
#include <QVersionNumber>

#include <iterator>

namespace qvs {

namespace {

// "major.minor.revision" of the running program.
QString VersionNumbers() {
    const QVersionNumber v = QVersionNumber::fromString(QCoreApplication::applicationVersion());
    return QStringLiteral("%1.%2.%3")
        .arg(v.majorVersion())
        .arg(v.minorVersion())
        .arg(v.microVersion());
}

} // namespace

QString MakerPageUrl(int index) {
    const QString product = QLatin1String(kProductUrl);
    const QString pages[] = {
        QLatin1String(kMakerUrl),
        product + QStringLiteral("/version?") + VersionNumbers(),
        product + QStringLiteral("/forum"),
        QStringLiteral("mailto:") + QLatin1String(kSupportMail),
    };
    return index >= 0 && index < int(std::size(pages)) ? pages[index] : QString();
}

} // namespace qvs
