#include "mainwin/toolbar.h"

#include "frame/image_list.h"
#include "frame/language.h"
#include "mainwin/frm_main.h"
#include "mainwin/main_menus.h"

#include <QAction>
#include <QToolBar>

namespace qvs {

namespace {

enum class Runs { Nothing, File, Edit, Password, Search };

struct Button {
    const char* key;
    const char* image; // nullptr: separator
    int textId;
    Runs runs;
    int index;
    bool needsFile;
};

const Button kButtons[] = {
    {"new", "NEW", 900, Runs::File, 0, false},
    {"open", "OPEN", 905, Runs::File, 1, false},
    {"save", "SAVE", 910, Runs::File, 3, true},
    {"sep1", nullptr, 0, Runs::Nothing, 0, true},
    {"preview", "PREVIEW", 915, Runs::Nothing, 0, false},
    {"print", "PRINT", 920, Runs::File, 10, true},
    {"sep2", nullptr, 0, Runs::Nothing, 0, true},
    {"cut", "CUT", 925, Runs::Edit, 0, true},
    {"copy", "COPY", 930, Runs::Edit, 1, true},
    {"paste", "PASTE", 935, Runs::Edit, 2, true},
    {"sep3", nullptr, 0, Runs::Nothing, 0, true},
    {"search", "SEARCH", 940, Runs::Search, 0, true},
    {"sep4", nullptr, 0, Runs::Nothing, 0, true},
    {"add", "PADD", 945, Runs::Password, 0, true},
    {"edit", "PEDIT", 950, Runs::Password, 1, true},
    {"del", "PDELETE", 955, Runs::Password, 2, true},
    {"sep5", nullptr, 0, Runs::Nothing, 0, true},
    {"help", "HELP", 960, Runs::Nothing, 0, false},
    {"what", "WHAT", 965, Runs::Nothing, 0, false},
};

void Run(frmMain& window, MainMenus& menus, const Button& button) {
    switch (button.runs) {
    case Runs::File:
        window.mnuFile_Click(button.index);
        break;
    case Runs::Edit:
        menus.mnuEdit_Click(button.index);
        break;
    case Runs::Password:
        menus.mnuPassword_Click(button.index);
        break;
    case Runs::Search:
        window.BeginSearch();
        break;
    case Runs::Nothing:
        break;
    }
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
        if (button.runs == Runs::Search) AddSearchShortcut(window, action);
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
