// File > Import > From another program.
#include "app/file_commands.h"

#include "dialogs/files/frm_import_foreign.h"
#include "frame/main_window_iface.h"
#include "frame/program_state.h"

namespace qvs {

bool ImportFromOtherProgram() {
    frmImportForeign dialog(Store());
    if (!dialog.Run()) return false;
    if (IMainWindow* window = CurrentMainWindow()) window->UpdateView(QString());
    return true;
}

} // namespace qvs
