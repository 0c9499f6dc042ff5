#include "pending_commands.h"

#include "language.h"
#include "message_box.h"
#include "program_identity.h"

namespace qvs {

namespace {
constexpr int kNotAvailableText = 30100;
}

void ShowExportPrintWindow(int mode) {
    (void)mode; // chooses the page once the window exists
    ShowNotAvailableYet();
}

void ShowNotAvailableYet() {
    ShowMessage(GetLocalText(kNotAvailableText), vbInformation, ProgramName());
}

} // namespace qvs
