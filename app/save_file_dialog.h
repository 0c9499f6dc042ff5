// The dialog that asks where to save the data file.
#pragma once

#include "store/pw.h"

#include <QString>

namespace qvs {

// Object name of the dialog, so that it can be found while it is open.
inline constexpr char kSaveFileDialogName[] = "dlgSaveDataFile";

// Asks for the name of a data file to write, starting in the "Path" setting,
// confirming before an existing file is replaced. "" when cancelled. With
// format, the file type list also offers the older format: it starts at
// *format and gives back the one chosen.
QString AskSaveFileName(ardeko::FileFormat* format = nullptr);

// The file type of the older format in that list.
QString LegacyFormatFilter();

} // namespace qvs
