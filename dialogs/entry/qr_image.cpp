#include "dialogs/entry/qr_image.h"

#include <QImage>
#include <QPainter>

#include <zbar.h>

#include <memory>

namespace qvs {

using namespace zbar; // the C interface, which C++ finds in this namespace

namespace {

struct ScannerFree {
    void operator()(zbar_image_scanner_t* s) const { zbar_image_scanner_destroy(s); }
};
struct ImageFree {
    void operator()(zbar_image_t* i) const { zbar_image_destroy(i); }
};

// zbar wants 8-bit grey lines with no padding between them.
QByteArray GreyBytes(const QImage& image) {
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    QByteArray bytes;
    bytes.reserve(qsizetype(grey.width()) * grey.height());
    for (int y = 0; y < grey.height(); ++y)
        bytes.append(reinterpret_cast<const char*>(grey.constScanLine(y)), grey.width());
    return bytes;
}

} // namespace

QrRead ReadQrCodes(const QString& imagePath) {
    QrRead result;
    QImage image(imagePath);
    if (image.isNull()) return result;
    result.readable = true;
    // A transparent background reads as black: put the code on white.
    if (image.hasAlphaChannel()) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter(&flat).drawImage(0, 0, image);
        image = flat;
    }
    const QByteArray grey = GreyBytes(image);
    std::unique_ptr<zbar_image_scanner_t, ScannerFree> scanner(zbar_image_scanner_create());
    zbar_image_scanner_set_config(scanner.get(), ZBAR_NONE, ZBAR_CFG_ENABLE, 0);
    zbar_image_scanner_set_config(scanner.get(), ZBAR_QRCODE, ZBAR_CFG_ENABLE, 1);
    std::unique_ptr<zbar_image_t, ImageFree> zimage(zbar_image_create());
    zbar_image_set_format(zimage.get(), zbar_fourcc('Y', '8', '0', '0'));
    zbar_image_set_size(zimage.get(), unsigned(image.width()), unsigned(image.height()));
    // zbar only reads the bytes; they outlive the scan.
    zbar_image_set_data(zimage.get(), grey.constData(), unsigned(grey.size()), nullptr);
    if (zbar_scan_image(scanner.get(), zimage.get()) <= 0) return result;
    for (const zbar_symbol_t* s = zbar_image_first_symbol(zimage.get()); s; s = zbar_symbol_next(s))
        result.texts << QString::fromUtf8(zbar_symbol_get_data(s),
                                          qsizetype(zbar_symbol_get_data_length(s)));
    return result;
}

} // namespace qvs
