#include "export/export_choice.h"

#include "export/text_ids.h"
#include "frame/language.h"
#include "store/export/export_fields.h"

namespace qvs {

namespace {
// The selected fields are remembered as one text.
const QString kFieldJoin = QStringLiteral("-");
} // namespace

ExportChoice ChoiceFromOptions(const Options& options, int mode) {
    ExportChoice c;
    c.mode = mode;
    c.grouping = qBound(0, options.RPGroup, 2);
    c.order = qBound(0, options.RPSort, 2);
    c.split = options.RPSplit;
    c.emptyCategories = options.RPEmptyCat;
    c.emptySubCategories = options.RPEmptySub;
    c.header = options.RPHeader;
    c.notes = options.RPNotes;
    c.folder = options.RPExpDir;
    c.fileName = options.RPExpFile;
    c.fields = options.RPFields.split(kFieldJoin, Qt::SkipEmptyParts);
    c.delimiter = options.RPDelim;
    c.csvSafe = options.RPCsvSafe;
    c.printLayout = options.RPPType;
    c.printer = options.RPPrinter;
    return c;
}

void StoreChoice(const ExportChoice& c, Options& options) {
    options.RPGroup = c.grouping;
    options.RPSort = c.order;
    options.RPSplit = c.split;
    options.RPEmptyCat = c.emptyCategories;
    options.RPEmptySub = c.emptySubCategories;
    options.RPHeader = c.header;
    options.RPNotes = c.notes;
    options.RPExpDir = c.folder;
    options.RPExpFile = c.fileName;
    options.RPFields = c.fields.join(kFieldJoin);
    options.RPDelim = c.delimiter;
    options.RPCsvSafe = c.csvSafe;
    options.RPPType = c.printLayout;
    options.RPPrinter = c.printer;
}

QString FieldLabel(const std::string& caption) {
    const auto& fields = ardeko::FieldCaptions();
    const auto it = std::find(fields.begin(), fields.end(), caption);
    // The fields up to "TOTP" have their texts in their order.
    const int id = caption == "Custom Fields" ? text::kExportCustomFields
                   : it != fields.end() ? text::kExportServiceField + 1 + int(it - fields.begin())
                   : caption == ardeko::kNotesCaption   ? text::kExportNotesField
                   : caption == ardeko::kHistoryCaption ? text::kExportHistoryField
                   : caption == ardeko::kServiceCaption ? text::kExportServiceField
                                                        : 0;
    return id ? GetLocalText(id) : QString::fromStdString(caption);
}

ardeko::ExportRequest ExportChoice::Request() const {
    ardeko::ExportRequest r;
    r.mode = mode;
    r.grouping = grouping;
    r.order = order;
    r.emptyCategories = emptyCategories;
    r.emptySubCategories = emptySubCategories;
    r.header = header;
    r.notes = notes;
    r.history = history;
    for (const QString& field : fields)
        r.fields.push_back(field.toStdString());
    r.delimiter = delimiter.toStdString();
    r.csvSafe = csvSafe;
    std::vector<std::string> all = ardeko::FieldCaptions();
    all.insert(all.end(), {std::string(ardeko::kServiceCaption), std::string(ardeko::kNotesCaption),
                           std::string(ardeko::kHistoryCaption)});
    for (const std::string& caption : all)
        r.labels[caption] = FieldLabel(caption).toStdString();
    return r;
}

QString ModeExtension(int mode) {
    switch (mode) {
    case kModeHtml:
        return QStringLiteral(".Html");
    case kModeLabelled:
    case kModeColumns:
        return QStringLiteral(".Txt");
    case kModeCsv:
        return QStringLiteral(".CSV");
    default:
        return {};
    }
}

int ModeFormatTextId(int mode) {
    return mode >= kModeHtml && mode <= kModeCsv ? 6030 + mode : 0;
}

} // namespace qvs
