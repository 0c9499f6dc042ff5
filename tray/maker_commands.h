// The tray items that open the maker's pages, as the Help menu's web items
// open them; both programs' trays carry them.
#pragma once

#include "tray/frm_tray.h"

namespace qvs {

// Adds the commands that open the maker's pages (home, version check,
// forum, mail) to actions.
void AddMakerPageCommands(TrayActions& actions);

} // namespace qvs
