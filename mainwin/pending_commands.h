// The export and print window as the menus open it.
#pragma once

namespace qvs {

// The export and print window in mode: 0 to 3 the export kinds of the
// Export menu, 10 printing.
void ShowExportPrintWindow(int mode);

} // namespace qvs
