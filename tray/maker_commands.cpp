#include "tray/maker_commands.h"

#include "dialogs/maker_info.h"

#include <QDesktopServices>
#include <QUrl>

#include <iterator>

namespace qvs {

void AddMakerPageCommands(TrayActions& actions) {
    // In the order of the maker's page indexes.
    const char* const pages[] = {"home", "check", "forum", "email"};
    for (int i = 0; i < int(std::size(pages)); ++i)
        actions.commands.insert(QLatin1String(pages[i]),
                                [i] { QDesktopServices::openUrl(QUrl(MakerPageUrl(i))); });
}

} // namespace qvs
