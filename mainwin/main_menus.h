// The main window's menus other than File: Edit, View, Entries (Password),
// Tools, Options and Help, each built from its table of commands, with the
// rules that enable them by the file state and by the selected row.
#pragma once

#include "autotype/previous_window.h"
#include "autotype/send_keys.h"
#include "dialogs/maker_info.h"
#include "mainwin/entry_clipboard.h"
#include "mainwin/entry_commands.h"
#include "mainwin/indexed_menu.h"

#include <QObject>

#include <functional>
#include <optional>
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
    // Options > save layout: writes the layout now and shows the caption
    // again, as the main window's close does.
    std::function<void()> saveLayout;
};

class MainMenus : public QObject {
    Q_OBJECT
public:
    // Adds the menus to window's menu bar, after those it has.
    MainMenus(QMainWindow& window, MenuAccess access);

    const CommandMenu<EditCommand>& mnuEdit() const { return edit_; }
    const CommandMenu<ViewCommand>& mnuView() const { return view_; }
    const CommandMenu<PasswordCommand>& mnuPassword() const { return password_; }
    const CommandMenu<ToolsCommand>& mnuTools() const { return tools_; }
    const CommandMenu<OptionCommand>& mnuOption() const { return option_; }
    const CommandMenu<HelpCommand>& mnuHelp() const { return help_; }
    const CommandMenu<HelpWebCommand>& mnuHelpWeb() const { return helpWeb_; }
    QMenu* mnuColumns() const;
    QMenu* mnuSort() const;
    QMenu* mnuSortOrder() const;

    void mnuEdit_Click(EditCommand command);
    void mnuView_Click(ViewCommand command);
    void mnuPassword_Click(PasswordCommand command);
    void mnuTools_Click(ToolsCommand command);
    void mnuOption_Click(OptionCommand command);
    void mnuHelp_Click(HelpCommand command);
    void mnuHelpWeb_Click(HelpWebCommand command);
    // Runs an Edit or Entries command, as pop-up items and toolbar buttons do.
    void Run(const EntryCommand& command);
    // Whether an item with this rule is enabled for the selected row service.
    bool Allows(Enabling rule, const QString& service) const;

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
    using Typing = Typist;
    void SetTyping(Typing type) { type_ = std::move(type); }
    // Whether "Type one-time code" is offered for service.
    static bool CanTypeCode(const QString& service);

private:
    QMenu* AddTopMenu(int textId);
    void BuildViewLists();
    void FillColumnsMenu();
    void FillSortMenu();
    QWidget* Pane(ViewCommand command) const;
    void ShowPaneChecks();
    void EnablePaste();
    void TypeCode(const QString& service);

    QMainWindow& window_;
    MenuAccess access_;
    CommandMenu<EditCommand> edit_;
    CommandMenu<ViewCommand> view_;
    CommandMenu<PasswordCommand> password_;
    CommandMenu<ToolsCommand> tools_;
    CommandMenu<OptionCommand> option_;
    CommandMenu<HelpCommand> help_;
    CommandMenu<HelpWebCommand> helpWeb_;
    CommandMenu<SortOrderCommand> sortOrder_;
    std::vector<QAction*> fileButtons_;
    QWidget* toolbar_ = nullptr;
    EntryClipboard clipboard_;
    PreviousWindow previousWindow_;
    Typing type_ = StartTyping;
    bool fileOpen_ = false;
};

// The grid's order for a sort order command.
Qt::SortOrder SortOrderOf(SortOrderCommand command);
// Checks the item of the grid's order; none while the grid is not sorted.
void ShowSortOrder(const CommandMenu<SortOrderCommand>& menu, std::optional<Qt::SortOrder> order);

// Builds the menus into window; the window owns the result.
MainMenus* BuildMainMenus(QMainWindow& window, MenuAccess access);

} // namespace qvs
