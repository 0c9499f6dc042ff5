// The export and print window as the menus open it, and the message of
// commands whose windows do not exist yet.
#pragma once

namespace qvs {

// The export and print window in mode: 0 to 3 the export kinds of the
// Export menu, 10 printing.
void ShowExportPrintWindow(int mode);

// Tells the user that the command is not available yet.
void ShowNotAvailableYet();

} // namespace qvs
