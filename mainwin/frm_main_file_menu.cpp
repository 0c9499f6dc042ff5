// The File menu of the main window: its table of commands, the recent-files,
// import and export submenus, and which items a window without a file shows.
#include "mainwin/frm_main.h"

#include "mainwin/main_menus.h"

#include "app/file_commands.h"
#include "app/merge_file_command.h"
#include "app/text_ids.h"
#include "frame/keyed_menu.h"
#include "frame/lock_request.h"
#include "frame/options.h"
#include "mainwin/pending_commands.h"
#include "mainwin/text_ids.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace qvs {

namespace {

// Lock's key comes from the settings, set when the menu is built.
using F = FileCommand;
const MenuRow<F> kFileItems[] = {
    {F::New, 101, nullptr, Qt::CTRL | Qt::Key_N},
    {F::Open, 102, nullptr, Qt::CTRL | Qt::Key_O},
    {F::SeparatorAfterOpen, 0},
    {F::Save, 103, nullptr, Qt::CTRL | Qt::Key_S, kFileOnly},
    {F::SaveAs, 104, nullptr, Qt::CTRL | Qt::SHIFT | Qt::Key_S, kFileOnly},
    {F::SeparatorAfterSaveAs, 0, nullptr, {}, kFileOnly},
    {F::Import, text::kImportMenu, nullptr, {}, kSubmenu | kFileOnly},
    {F::Merge, text::kMergeCommand, nullptr, {}, kFileOnly},
    {F::Export, 106, nullptr, {}, kSubmenu | kFileOnly},
    {F::SeparatorBeforePrint, 0, nullptr, {}, kFileOnly},
    {F::Print, 111, nullptr, Qt::CTRL | Qt::Key_P, kFileOnly},
    {F::SeparatorBeforeRecent, 0},
    {F::Recent, 112, nullptr, {}, kSubmenu},
    {F::SeparatorBeforeLock, 0},
    {F::Lock, text::kLockCommand, nullptr, {}, kFileOnly},
    {F::Exit, 113, nullptr, Qt::CTRL | Qt::Key_Q},
};

// The export kinds of the Export menu, in mode order.
constexpr int kExportTexts[] = {107, 108, 109, 110};
constexpr int kPrintMode = 10;

// Menu texts read "&" as the mark of the access key.

QString Id(int textId) {
    return QString::number(textId); // localised with the window
}

} // namespace

QAction* frmMain::mnuFile(int index) const {
    return file_.Item(static_cast<FileCommand>(index));
}

void frmMain::BuildFileMenu() {
    file_ = {menuBar()->addMenu(Id(100)), kFileItems, [this](FileCommand c) { mnuFile_Click(c); }};
    mnuFileTop_ = file_.Menu();
    file_.Item(FileCommand::Lock)->setShortcut(LockKey());
    mnuReload_ = file_.SubMenu(FileCommand::Recent);
    BuildImportMenu();
    BuildExportMenu();
}

void frmMain::BuildImportMenu() {
    QMenu* menu = file_.SubMenu(FileCommand::Import);
    menu->setObjectName(QStringLiteral("mnuImport"));
    QAction* dataFile = menu->addAction(Id(text::kImportDataFile));
    connect(dataFile, &QAction::triggered, this, [this] { mnuFile_Click(FileCommand::Import); });
    QAction* other = menu->addAction(Id(text::kImportForeign));
    other->setObjectName(QStringLiteral("mnuImportForeign"));
    connect(other, &QAction::triggered, this, [] { ImportFromOtherProgram(); });
}

void frmMain::BuildExportMenu() {
    mnuExport_ = file_.SubMenu(FileCommand::Export);
    for (int mode = 0; mode < int(std::size(kExportTexts)); ++mode) {
        QAction* item = mnuExport_->addAction(Id(kExportTexts[mode]));
        connect(item, &QAction::triggered, this, [mode] { ShowExportPrintWindow(mode); });
    }
}

void frmMain::mnuFile_Click(int index) {
    mnuFile_Click(static_cast<FileCommand>(index));
}

void frmMain::mnuFile_Click(FileCommand command) {
    switch (command) {
    case F::New:
        NewDataFile();
        break;
    case F::Open:
        OpenWithDialog(false);
        break;
    case F::Save:
        SaveDataFile(false);
        break;
    case F::SaveAs:
        SaveDataFile(true);
        break;
    case F::Import:
        ImportDataFile();
        break;
    case F::Print:
        ShowExportPrintWindow(kPrintMode);
        break;
    case F::Exit:
        Exit();
        break;
    case F::Lock:
        LockCommand();
        break;
    case F::Merge:
        MergeOtherFile();
        break;
    default: // separators and submenu holders
        break;
    }
}

void frmMain::EnableFileCommands(bool fileOpen) {
    file_.ShowForFile(fileOpen);
    if (menus_) menus_->EnableFileCommands(fileOpen);
}

// The items are rebuilt, not edited, so a path renamed in the list cannot
// leave a stale item behind. An item may be the one being chosen right now:
// it is deleted only once control is back in the event loop.
void frmMain::ReloadMenu() {
    for (QAction* item : mnuReload_->actions()) {
        mnuReload_->removeAction(item);
        item->deleteLater();
    }
    const QStringList paths = Opt().Recent.Paths().mid(0, Opt().HistorySize);
    for (const QString& path : paths) {
        QAction* item = new QAction(NameCaption(path), mnuReload_);
        connect(item, &QAction::triggered, this, [path] { OpenRecentFile(path); });
        mnuReload_->addAction(item);
    }
    mnuReload_->menuAction()->setEnabled(!paths.isEmpty());
    updateGeometry();
}

} // namespace qvs
