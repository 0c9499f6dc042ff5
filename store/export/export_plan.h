// What an export writes, worked out before anything is written: the columns,
// their widths, and the entries in order, split into the chosen groups.
#pragma once

#include "store/records.h"

#include <map>
#include <string>
#include <vector>

namespace ardeko {

class clsPW;

// Output modes, as QVS's File menu asks for them.
enum ExportMode : int {
    kModeHtml = 0,
    kModeLabelled = 1, // text, one labelled line per field
    kModeColumns = 2,  // text, fixed-width columns
    kModeCsv = 3,
    kModePrint = 10,
};

enum ExportGrouping : int { kGroupNone = 0, kGroupCategory = 1, kGroupSubCategory = 2 };
enum ExportOrder : int { kOrderService = 0, kOrderCategory = 1, kOrderSubCategory = 2 };

// What one export is asked to write.
struct ExportRequest {
    int mode = kModeHtml;
    int grouping = kGroupNone;
    int order = kOrderService;
    bool emptyCategories = false;
    bool emptySubCategories = false;
    bool header = true;
    bool notes = false;
    bool history = false;            // earlier passwords
    std::vector<std::string> fields; // field captions (FieldCaptions), in order
    std::string delimiter = ",";
    bool csvSafe = true; // formulas neutralised (CSV); off keeps values byte-exact
    // What a document shows for a caption (the user's language); a caption
    // without one shows as it stands. CSV headers always write the caption.
    std::map<std::string, std::string> labels;
};

struct ExportGroup {
    std::string heading;                        // "Category: ..." ("" for the whole file)
    std::string nameSuffix;                     // added to the file name when every group has one
    std::vector<std::vector<std::string>> rows; // one value per caption
};

struct ExportPlan {
    std::vector<std::string> captions; // "Service", the selected fields, "Notes" when chosen
    std::vector<std::string> labels;   // what documents show for each caption
    std::vector<std::size_t> widths;   // column width of each caption
    std::vector<ExportGroup> groups;
    std::string emptyWord; // ends the line of a group without entries
    int entryCount = 0;
};

// The store's entries in the chosen order (ExportOrder).
std::vector<const T_Password*> OrderedEntries(const clsPW& store, int order);

ExportPlan MakePlan(const clsPW& store, const ExportRequest& request);

} // namespace ardeko
