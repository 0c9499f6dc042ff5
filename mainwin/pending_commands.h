// Commands whose windows do not exist yet. Each has the one entry point the
// menus call, so the window only has to be plugged in here.
#pragma once

namespace qvs {

// The export and print window in mode: 0 to 3 the export kinds of the
// Export menu, 10 printing.
void ShowExportPrintWindow(int mode);

// Tells the user that the command is not available yet.
void ShowNotAvailableYet();

} // namespace qvs
