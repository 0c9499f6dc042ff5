// What one export or print run is asked to do: the dialog's choices, read
// from the settings when it opens and stored back before every run.
#pragma once

#include "frame/options.h"
#include "store/export/export_plan.h"

#include <QString>
#include <QStringList>

namespace qvs {

using ardeko::ExportGrouping;
using ardeko::ExportMode;
using ardeko::ExportOrder;
using ardeko::kGroupCategory;
using ardeko::kGroupNone;
using ardeko::kGroupSubCategory;
using ardeko::kModeColumns;
using ardeko::kModeCsv;
using ardeko::kModeHtml;
using ardeko::kModeLabelled;
using ardeko::kModePrint;
using ardeko::kOrderCategory;
using ardeko::kOrderService;
using ardeko::kOrderSubCategory;

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
    QString delimiter = QStringLiteral(",");
    bool csvSafe = true; // formulas neutralised (CSV); off keeps values byte-exact
    int printLayout = 0; // 0 columns, else labelled lines
    QString printer;     // the printer list's text of the chosen item

    bool Tabular() const { return mode == kModeColumns || mode == kModeCsv; }
    bool Splits() const { return split && grouping != kGroupNone && mode != kModePrint; }
    // What the store's writers are asked for, with the field names in the
    // user's language.
    ardeko::ExportRequest Request() const;
};

// A field's name (its key, as FieldCaptions lists it, or "Service", "Notes"
// or "Password History") in the user's language.
QString FieldLabel(const std::string& caption);

ExportChoice ChoiceFromOptions(const Options& options, int mode);
void StoreChoice(const ExportChoice& choice, Options& options);

// ".Html", ".Txt", ".CSV"; "" for printing.
QString ModeExtension(int mode);
// Language id of the mode's format name; 0 for printing.
int ModeFormatTextId(int mode);

} // namespace qvs
