// The main window's menus other than File: Edit, View, Entries (Password),
// Tools, Options and Help, each an array of items by index, with the rules that
// enable them by the file state and by the selected row.
#pragma once

#include "autotype/previous_window.h"
#include "autotype/send_keys.h"
#include "dialogs/maker_info.h"
#include "mainwin/entry_clipboard.h"
#include "mainwin/entry_commands.h"
#include "mainwin/indexed_menu.h"

#include <QObject>

#include <functional>
#include <vector>

class QMainWindow;

namespace qvs {

class CategoryTree;
class EntryGrid;

// What the menus read from the window that hosts them. Any of the functions
// may answer empty or nullptr (no tree or grid yet).
struct MenuAccess {
    std::function<QString()> selectedNodeKey;
    std::function<QString()> selectedService;
    std::function<CategoryTree*()> tree;
    std::function<EntryGrid*()> grid;
    // Options 3: writes the layout now and shows the caption again, as the
    // main window's close does.
    std::function<void()> saveLayout;
};

class MainMenus : public QObject {
    Q_OBJECT
public:
    // Adds the menus to window's menu bar, after those it has.
    MainMenus(QMainWindow& window, MenuAccess access);

    const IndexedMenu& mnuEdit() const { return edit_; }
    const IndexedMenu& mnuView() const { return view_; }
    const IndexedMenu& mnuPassword() const { return password_; }
    const IndexedMenu& mnuTools() const { return tools_; }
    const IndexedMenu& mnuOption() const { return option_; }
    const IndexedMenu& mnuHelp() const { return help_; }
    const IndexedMenu& mnuHelpWeb() const { return helpWeb_; }
    QMenu* mnuColumns() const;
    QMenu* mnuSort() const;
    QMenu* mnuSortOrder() const;

    void mnuEdit_Click(int index);
    void mnuView_Click(int index);
    void mnuPassword_Click(int index);
    void mnuTools_Click(int index);
    void mnuOption_Click(int index);
    void mnuHelp_Click(int index);
    void mnuHelpWeb_Click(int index);

    // What opening the menus does: enabling by the selected row, the
    // favourite command's caption.
    void PrepareEditMenu();
    void PreparePasswordMenu();

    // Shows the commands that need a file only while one is open; call it
    // from every UpdateView.
    void EnableFileCommands(bool fileOpen);
    // Attaches or removes the menu icons by the "ViewMenuIcon" setting.
    void ReInitMenu();
    // A toolbar button enabled only while a file is open.
    void AddFileButton(QAction* button);
    void SetToolbar(QWidget* toolbar) { toolbar_ = toolbar; }

    QString SelectedService() const;
    QString SelectedNodeKey() const;
    CategoryTree* Tree() const;
    EntryGrid* Grid() const;
    // 441 while the favourites are shown, else 440.
    int FavouriteCaptionId() const;
    const EntryClipboard& Clipboard() const { return clipboard_; }

    // How the typing commands type into the window before ours; replaced by
    // tests.
    using Typing = std::function<x11::TypeResult(std::uint64_t, const KeyStrokes&)>;
    void SetTyping(Typing type) { type_ = std::move(type); }
    // Whether "Type one-time code" is offered for service.
    static bool CanTypeCode(const QString& service);

private:
    QMenu* AddTopMenu(int textId);
    void BuildViewLists();
    void FillColumnsMenu();
    void FillSortMenu();
    QWidget* Pane(int index) const;
    void ShowPaneChecks();
    void EnablePaste();
    void TypeCode(const QString& service);

    QMainWindow& window_;
    MenuAccess access_;
    IndexedMenu edit_;
    IndexedMenu view_;
    IndexedMenu password_;
    IndexedMenu tools_;
    IndexedMenu option_;
    IndexedMenu help_;
    IndexedMenu helpWeb_;
    IndexedMenu sortOrder_;
    std::vector<QAction*> fileButtons_;
    QWidget* toolbar_ = nullptr;
    EntryClipboard clipboard_;
    PreviousWindow previousWindow_;
    Typing type_ = TypeInto;
    bool fileOpen_ = false;
};

// Builds the menus into window; the window owns the result.
MainMenus* BuildMainMenus(QMainWindow& window, MenuAccess access);

} // namespace qvs
