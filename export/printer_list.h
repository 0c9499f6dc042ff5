// The printer list of the print command: every installed printer as
// "name on port". The port comes from the print system through a lookup
// that tests replace.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace qvs {

struct InstalledPrinter {
    QString name; // as the print system and Qt know it
    QString port; // where it prints (device address)
    bool isDefault = false;
};

class IPrinterLookup {
public:
    virtual ~IPrinterLookup() = default;
    virtual std::vector<InstalledPrinter> Printers() const = 0;
};

// The printers CUPS knows, with their device addresses.
class CupsPrinterLookup : public IPrinterLookup {
public:
    std::vector<InstalledPrinter> Printers() const override;
};

// "name on port"; a port ending in ":" loses that character.
QString PrinterListText(const InstalledPrinter& printer);

// The item to select: the remembered text, else the default printer, else
// the first; -1 for an empty list.
int ChosenPrinter(const std::vector<InstalledPrinter>& printers, const QString& remembered);

} // namespace qvs
