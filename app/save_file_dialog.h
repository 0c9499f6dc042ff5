// The dialog that asks where to save the data file.
#pragma once

#include <QString>

namespace qvs {

// Object name of the dialog, so that it can be found while it is open.
inline constexpr char kSaveFileDialogName[] = "dlgSaveDataFile";

// Asks for the name of a data file to write, starting in the "Path" setting,
// confirming before an existing file is replaced. "" when cancelled.
QString AskSaveFileName();

} // namespace qvs
