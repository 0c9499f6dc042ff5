// What one export or print run is asked to do: the dialog's choices, read
// from the settings when it opens and stored back before every run.
#pragma once

#include "frame/options.h"

#include <QString>
#include <QStringList>

namespace qvs {

// Output modes, as the File menu asks for them.
enum ExportMode : int {
    kModeHtml = 0,
    kModeLabelled = 1, // text, one labelled line per field
    kModeColumns = 2,  // text, fixed-width columns
    kModeCsv = 3,
    kModePrint = 10,
};

enum ExportGrouping : int { kGroupNone = 0, kGroupCategory = 1, kGroupSubCategory = 2 };
enum ExportOrder : int { kOrderService = 0, kOrderCategory = 1, kOrderSubCategory = 2 };

struct ExportChoice {
    int mode = kModeHtml;
    int grouping = kGroupNone;
    int order = kOrderService;
    bool split = false;
    bool emptyCategories = false;
    bool emptySubCategories = false;
    bool header = true;
    bool notes = false;
    // Earlier passwords: asked for each time, never kept in the settings.
    bool history = false;
    QString folder;
    QString fileName;   // without extension
    QStringList fields; // selected captions, in order
    QString delimiter;
    bool csvSafe = false; // formulas neutralised (CSV); off keeps values byte-exact
    int printLayout = 0;  // 0 columns, else labelled lines
    QString printer;      // the printer list's text of the chosen item

    bool Tabular() const { return mode == kModeColumns || mode == kModeCsv; }
    bool Splits() const { return split && grouping != kGroupNone && mode != kModePrint; }
};

ExportChoice ChoiceFromOptions(const Options& options, int mode);
void StoreChoice(const ExportChoice& choice, Options& options);

// ".Html", ".Txt", ".CSV"; "" for printing.
QString ModeExtension(int mode);
// Language id of the mode's format name; 0 for printing.
int ModeFormatTextId(int mode);

} // namespace qvs
