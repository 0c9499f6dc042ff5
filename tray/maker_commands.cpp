#include "tray/maker_commands.h"

#include "dialogs/maker_info.h"
#include "frame/web_address.h"

#include <iterator>

namespace qvs {

void AddMakerPageCommands(TrayActions& actions) {
    // In the order of the maker's page indexes.
    const char* const pages[] = {"home", "check", "forum", "email"};
    // As the Help menu's web items open them.
    for (int i = 0; i < int(std::size(pages)); ++i)
        actions.commands.insert(QLatin1String(pages[i]), [i] { OpenDocument(MakerPageUrl(i)); });
}

} // namespace qvs
