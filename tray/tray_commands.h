// The tray menu's own commands (not its folders and entries), each with the
// key its item carries: the key is what a chosen item reports and what the
// other instance and the tests read, so it stays as it is.
#pragma once

#include <QString>

#include <optional>

namespace qvs {

enum class TrayCommand {
    Reopen,     // the followed file could not be read: open it again
    Favourites, // submenu
    Add,        // submenu
    AddEntry,
    AddCategory,
    AddSubCategory,
    Open,
    Options,
    Load,
    Mail,
    Home,
    VersionCheck,
    Forum,
    About,
    Lock,
    Unlock,
    Close,
};

// One row of the table. textId 0: the caption is given when the item is
// added. makerPage: the maker's page it opens (MakerPageUrl's number), -1
// for none.
struct TrayCommandRow {
    TrayCommand command;
    const char* key;
    int textId;
    const char* icon; // image key, nullptr for none
    int makerPage;
};

const TrayCommandRow& TrayRow(TrayCommand command);
// The key of command's item.
QString TrayKey(TrayCommand command);
// The command an item's key names; none for a folder's, an entry's or a
// separator's key.
std::optional<TrayCommand> TrayCommandOfKey(const QString& key);

} // namespace qvs
