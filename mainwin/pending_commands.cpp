#include "mainwin/pending_commands.h"

#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/program_identity.h"

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
