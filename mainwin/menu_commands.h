// The commands of the main window's menus and pop-ups, one enum per menu.
// A command's value is its item's place in the menu's numbering, which
// separators and submenu holders share. Callers that address items by number
// (the File menu's mnuFile, the maker's pages) rely on these values, so a
// new item takes a new value and the others keep theirs.
#pragma once

#include <variant>

namespace qvs {

enum class FileCommand {
    New = 0,
    Open = 1,
    SeparatorAfterOpen = 2,
    Save = 3,
    SaveAs = 4,
    SeparatorAfterSaveAs = 5,
    Import = 6, // submenu
    Export = 7, // submenu
    SeparatorBeforePrint = 8,
    // 9 once held a placeholder message and is left out.
    Print = 10,
    Recent = 11, // submenu
    Exit = 12,
    Lock = 13,
    Merge = 14,
    SeparatorBeforeRecent = 15,
    SeparatorBeforeLock = 16,
};

enum class EditCommand {
    Cut = 0,
    Copy = 1,
    Paste = 2,
    SeparatorAfterPaste = 3,
    CopyPassword = 4,
    CopyLogin = 5,
    CopyAccessUrl = 6,
    SeparatorBeforeOpen = 7,
    OpenAccessUrl = 8,
    OpenDeleteUrl = 9,
    OpenChangeUrl = 10,
    CopyCode = 11,
    TypeCode = 12,
};

enum class ViewCommand {
    Toolbar = 0,
    StatusBar = 1,
    Tree = 2,
    Notes = 3,
    SeparatorBeforeColumns = 4,
    Columns = 5,   // submenu
    Sort = 6,      // submenu
    SortOrder = 7, // submenu
};

// The Entries menu.
enum class PasswordCommand {
    Add = 0,
    Edit = 1,
    Delete = 2,
    SeparatorAfterDelete = 3,
    // 4 is not used.
    Categories = 5,
    SubCategories = 6,
    SeparatorBeforeExpiry = 7,
    CheckExpiry = 8,
    SeparatorBeforeFavourite = 9,
    Favourite = 10,
};

enum class ToolsCommand {
    PasswordHealth = 0,
};

enum class OptionCommand {
    Options = 0,
    FilePassword = 1,
    SeparatorAfterPassword = 2,
    SaveLayout = 3,
    GoToTray = 4,
};

enum class HelpCommand {
    Contents = 0,
    Search = 1,
    SeparatorAfterSearch = 2,
    Web = 3, // submenu
    SeparatorBeforeAbout = 4,
    About = 5,
};

// The maker's pages, numbered as MakerPageUrl numbers them.
enum class HelpWebCommand {
    Home = 0,
    VersionCheck = 1,
    Forum = 2,
    Mail = 3,
};

// View > Sort order, and the column header's pop-up.
enum class SortOrderCommand {
    Ascending = 0,
    Descending = 1,
};

// The pop-up menu of a grid row.
enum class GridCommand {
    Favourite = 0,
    SeparatorAfterFavourite = 1,
    OpenAccessUrl = 2,
    OpenDeleteUrl = 3,
    OpenChangeUrl = 4,
    SeparatorBeforeCut = 5,
    Cut = 6,
    Copy = 7,
    Paste = 8,
    SeparatorAfterPaste = 9,
    CopyPassword = 10,
    CopyLogin = 11,
    CopyAccessUrl = 12,
    SeparatorBeforeAdd = 13,
    Add = 14,
    Edit = 15,
    Delete = 16,
    CopyCode = 17,
    TypeCode = 18,
};

// The pop-up menu of a tree node.
enum class TreeCommand {
    AddEntry = 0,
    SeparatorAfterAddEntry = 1,
    AddFolder = 2,
    Rename = 3,
    Delete = 4,
    Move = 5,
    MoveEntries = 6,
};

// A command that acts on the selected entry, as pop-up items and toolbar
// buttons run them; monostate runs nothing.
using EntryCommand = std::variant<std::monostate, EditCommand, PasswordCommand>;

// What enables an item each time its menu opens. Fixed items are left as
// they are; the rest follow the selected row.
enum class Enabling {
    Fixed,
    Always,
    Row,       // a row is selected
    Pasteable, // an entry was copied
    AccessUrl, // the row has a web address
    DeleteUrl, // ... an address to delete the account
    ChangeUrl, // ... an address to change the password
    Code,      // the row has a one-time code
    TypeCode,  // ... and there is a display to type it on
};

} // namespace qvs
