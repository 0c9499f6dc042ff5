// What choosing an entry in the tray can do without the main window: show
// it, copy or type its login, password or web address. Both programs' trays
// carry them; QVS adds editing.
#pragma once

#include "tray/frm_tray.h"

namespace qvs {

// Sets every entry action of actions except editEntry.
void AddEntryActions(TrayActions& actions);

} // namespace qvs
