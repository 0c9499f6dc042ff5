// Reading the QR codes of an image file (a screenshot of a site's set-up
// page, say), through the zbar library.
#pragma once

#include <QString>
#include <QStringList>

namespace qvs {

struct QrRead {
    bool readable = false; // false: no such file, or not an image
    QStringList texts;     // every QR code found, in the order zbar gives
};

QrRead ReadQrCodes(const QString& imagePath);

} // namespace qvs
