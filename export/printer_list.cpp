#include "export/printer_list.h"

#include <cups/cups.h>

#include <memory>

namespace qvs {

namespace {

struct DestList {
    cups_dest_t* dests = nullptr;
    int count = 0;
    ~DestList() { cupsFreeDests(count, dests); }
};

QString DestName(const cups_dest_t& dest) {
    QString name = QString::fromUtf8(dest.name);
    if (dest.instance) name += QLatin1Char('/') + QString::fromUtf8(dest.instance);
    return name;
}

} // namespace

std::vector<InstalledPrinter> CupsPrinterLookup::Printers() const {
    DestList list;
    list.count = cupsGetDests2(CUPS_HTTP_DEFAULT, &list.dests);
    std::vector<InstalledPrinter> printers;
    for (int i = 0; i < list.count; ++i) {
        const cups_dest_t& dest = list.dests[i];
        const char* uri = cupsGetOption("device-uri", dest.num_options, dest.options);
        printers.push_back(
            {DestName(dest), QString::fromUtf8(uri ? uri : ""), dest.is_default != 0});
    }
    return printers;
}

QString PrinterListText(const InstalledPrinter& printer) {
    QString port = printer.port;
    if (port.endsWith(QLatin1Char(':'))) port.chop(1);
    return printer.name + QStringLiteral(" on ") + port;
}

int ChosenPrinter(const std::vector<InstalledPrinter>& printers, const QString& remembered) {
    int fallback = printers.empty() ? -1 : 0;
    for (int i = 0; i < int(printers.size()); ++i) {
        if (PrinterListText(printers[std::size_t(i)]) == remembered) return i;
        if (printers[std::size_t(i)].isDefault && fallback == 0) fallback = i;
    }
    return fallback;
}

} // namespace qvs
