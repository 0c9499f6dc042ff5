#include "tray/tray_commands.h"
#include "app/text_ids.h"

#include <algorithm>
#include <iterator>

namespace qvs {

namespace {

using T = TrayCommand;
// In enum order.
constexpr TrayCommandRow kTrayCommands[] = {
    {T::Reopen, "reopen", 0, "OPEN", -1},
    {T::Favourites, "preferred", 30, "FAVOR", -1},
    {T::Add, "add", 71, nullptr, -1},
    {T::AddEntry, "addpw", 72, "PADD", -1},
    {T::AddCategory, "addcat", 73, "CAT", -1},
    {T::AddSubCategory, "addscat", 74, "SUBCAT", -1},
    {T::Open, "open", 75, "QVS", -1},
    {T::Options, "option", 76, "CONFIG", -1},
    {T::Load, "load", 77, "OPEN", -1},
    {T::Mail, "email", 78, "MAIL", 3},
    {T::Home, "home", 80, "WEB", 0},
    {T::VersionCheck, "check", 81, "WEB", 1},
    {T::Forum, "forum", 79, "WEB", 2},
    {T::About, "about", 82, "HELP", -1},
    {T::Lock, "lock", text::kLockCommand, nullptr, -1},
    {T::Unlock, "unlock", text::kUnlock, nullptr, -1},
    {T::Close, "close", 83, nullptr, -1},
};

constexpr bool InEnumOrder() {
    for (size_t i = 0; i < std::size(kTrayCommands); ++i)
        if (kTrayCommands[i].command != static_cast<TrayCommand>(i)) return false;
    return std::size(kTrayCommands) == size_t(T::Close) + 1;
}
static_assert(InEnumOrder(), "TrayRow() looks rows up by the command's value");

} // namespace

const TrayCommandRow& TrayRow(TrayCommand command) {
    return kTrayCommands[size_t(command)];
}

QString TrayKey(TrayCommand command) {
    return QLatin1String(TrayRow(command).key);
}

std::optional<TrayCommand> TrayCommandOfKey(const QString& key) {
    const auto it =
        std::find_if(std::begin(kTrayCommands), std::end(kTrayCommands),
                     [&](const TrayCommandRow& row) { return key == QLatin1String(row.key); });
    if (it == std::end(kTrayCommands)) return std::nullopt;
    return it->command;
}

} // namespace qvs
