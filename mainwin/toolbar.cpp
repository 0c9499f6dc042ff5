#include "mainwin/toolbar.h"

#include "frame/image_list.h"
#include "frame/language.h"
#include "mainwin/frm_main.h"
#include "mainwin/main_menus.h"

#include <QAction>
#include <QToolBar>

#include <variant>

namespace qvs {

namespace {

// What a button runs: a File command, an Edit or Entries command, the
// search, or nothing.
struct StartSearch {};
using Runs = std::variant<std::monostate, FileCommand, EditCommand, PasswordCommand, StartSearch>;

struct Button {
    const char* key;
    const char* image; // nullptr: separator
    int textId;
    Runs runs;
    bool needsFile;
};

using E = EditCommand;
using P = PasswordCommand;
using F = FileCommand;
const Button kButtons[] = {
    {"new", "NEW", 900, F::New, false},     {"open", "OPEN", 905, F::Open, false},
    {"save", "SAVE", 910, F::Save, true},   {"sep1", nullptr, 0, {}, true},
    {"preview", "PREVIEW", 915, {}, false}, {"print", "PRINT", 920, F::Print, true},
    {"sep2", nullptr, 0, {}, true},         {"cut", "CUT", 925, E::Cut, true},
    {"copy", "COPY", 930, E::Copy, true},   {"paste", "PASTE", 935, E::Paste, true},
    {"sep3", nullptr, 0, {}, true},         {"search", "SEARCH", 940, StartSearch{}, true},
    {"sep4", nullptr, 0, {}, true},         {"add", "PADD", 945, P::Add, true},
    {"edit", "PEDIT", 950, P::Edit, true},  {"del", "PDELETE", 955, P::Delete, true},
    {"sep5", nullptr, 0, {}, true},         {"help", "HELP", 960, {}, false},
    {"what", "WHAT", 965, {}, false},
};

void Run(frmMain& window, MainMenus& menus, const Button& button) {
    if (const auto* file = std::get_if<FileCommand>(&button.runs)) window.mnuFile_Click(*file);
    if (const auto* edit = std::get_if<EditCommand>(&button.runs)) menus.mnuEdit_Click(*edit);
    if (const auto* entry = std::get_if<PasswordCommand>(&button.runs))
        menus.mnuPassword_Click(*entry);
    if (std::holds_alternative<StartSearch>(button.runs)) window.BeginSearch();
}

QAction* AddButton(QToolBar& bar, frmMain& window, MainMenus& menus, const Button& button) {
    if (!button.image) return bar.addSeparator();
    QAction* action =
        bar.addAction(KeyIcon(QLatin1String(button.image)), GetLocalText(button.textId));
    action->setToolTip(GetLocalText(button.textId));
    QObject::connect(action, &QAction::triggered, &bar,
                     [&window, &menus, &button] { Run(window, menus, button); });
    return action;
}

// Ctrl+F works with the toolbar hidden too: the window carries the button.
void AddSearchShortcut(frmMain& window, QAction* button) {
    button->setShortcut(QKeySequence::Find);
    button->setShortcutContext(Qt::WindowShortcut);
    button->setToolTip(QStringLiteral("%1 (%2)").arg(
        button->toolTip(), button->shortcut().toString(QKeySequence::NativeText)));
    window.addAction(button);
}

} // namespace

QToolBar* BuildToolbar(frmMain& window, MainMenus& menus) {
    auto* bar = new QToolBar(&window);
    bar->setObjectName(QStringLiteral("Toolbar1"));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const Button& button : kButtons) {
        QAction* action = AddButton(*bar, window, menus, button);
        action->setObjectName(QLatin1String(button.key));
        if (button.needsFile) menus.AddFileButton(action);
        if (std::holds_alternative<StartSearch>(button.runs)) AddSearchShortcut(window, action);
    }
    window.addToolBar(bar);
    menus.SetToolbar(bar);
    return bar;
}

QAction* ToolbarButton(const QToolBar& toolbar, const QString& key) {
    for (QAction* action : toolbar.actions())
        if (action->objectName() == key) return action;
    return nullptr;
}

} // namespace qvs
