#include "tray/maker_commands.h"

#include "dialogs/maker_info.h"
#include "frame/web_address.h"

namespace qvs {

void AddMakerPageCommands(TrayActions& actions) {
    // As the Help menu's web items open them.
    for (TrayCommand command :
         {TrayCommand::Home, TrayCommand::VersionCheck, TrayCommand::Forum, TrayCommand::Mail}) {
        const int page = TrayRow(command).makerPage;
        actions.commands[command] = [page] { OpenDocument(MakerPageUrl(page)); };
    }
}

} // namespace qvs
