// What an export writes, worked out before anything is written: the columns,
// their widths, and the entries in order, split into the chosen groups.
#pragma once

#include "export/export_choice.h"
#include "store/records.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace ardeko {
class clsPW;
}

namespace qvs {

struct ExportGroup {
    QString heading;               // "Category: ..." ("" for the whole file)
    QString nameSuffix;            // added to the file name when every group has a file
    std::vector<QStringList> rows; // one value per caption
};

struct ExportPlan {
    QStringList captions;    // "Service", the selected fields, "Notes" when chosen
    std::vector<int> widths; // column width of each caption
    std::vector<ExportGroup> groups;
    QString emptyWord; // ends the line of a group without entries
    int entryCount = 0;
};

// The store's entries in the chosen order (ExportOrder).
std::vector<const ardeko::T_Password*> OrderedEntries(const ardeko::clsPW& store, int order);

ExportPlan MakePlan(const ardeko::clsPW& store, const ExportChoice& choice);

} // namespace qvs
