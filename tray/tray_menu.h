// The tray menu built from the open file: categories with their
// subcategories and entries, favourites, and the commands. Both programs
// build it here; QVSLite leaves out what it does not offer.
#pragma once

#include "frame/image_list.h"
#include "store/pw.h"

#include <optional>

namespace qvs {

class KeyedMenu;

// Menu item keys; an entry's key is kEntryKeyPrefix + its service name.
inline constexpr char kEntryKeyPrefix[] = "srv";

struct TrayMenuOptions {
    int show = 1;       // SysTrayShow: 0 categories and favourites, 1 categories, 2 favourites
    int defaultCmd = 1; // SysTrayDef: 1 "open", 2 the "add" commands
    bool fileOpen = false;
    bool fullProgram = true; // QVS; QVSLite has no "add" submenu, no "forum", and "load"
};

// How entry items show. Disabled where choosing one cannot do its action
// here (typing without a display that takes it).
struct TrayEntryLook {
    bool enabled = true;
    // On every entry: why it is disabled, or what limits its action.
    QString toolTip;
};

// Clears the menu and fills it; icons come from images when given. A
// reopenCaption makes the first item ("reopen"): the file can no longer be
// shown and must be opened again.
void BuildTrayMenu(KeyedMenu& menu, const ardeko::clsPW& store, const TrayMenuOptions& options,
                   const std::optional<ImageList>& images, const TrayEntryLook& entries = {},
                   const QString& reopenCaption = {});

// The menu of a locked file: "unlock" and "close" only, so that nothing of
// the file shows.
void BuildLockedTrayMenu(KeyedMenu& menu);

// The service name of an entry item's key; empty for any other key.
QString ServiceOfKey(const QString& key);

} // namespace qvs
