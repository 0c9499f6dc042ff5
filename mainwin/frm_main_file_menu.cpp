// The File menu of the main window: items by index, the recent-files and
// export submenus, and which items a window without a file shows.
#include "mainwin/frm_main.h"

#include "mainwin/main_menus.h"

#include "app/file_commands.h"
#include "app/merge_file_command.h"
#include "frame/keyed_menu.h"
#include "frame/lock_request.h"
#include "frame/options.h"
#include "mainwin/pending_commands.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace qvs {

namespace {

enum FileIndex : int {
    kNew = 0,
    kOpen = 1,
    kSave = 3,
    kSaveAs = 4,
    kImport = 6,
    kExportMenu = 7,
    kPrint = 10,
    kRecentMenu = 11,
    kExit = 12,
    kLock = 13,
    kMerge = 14,
};

// Shown only while a file is open.
constexpr int kFileOpenItems[] = {3, 4, 5, 6, 7, 8, 10, 13, 14};
// 34521: merge another version of the open file into it.
constexpr int kMergeText = 34521;
// 31410: the Lock command (id chosen here).
constexpr int kLockText = 31410;
// The Import submenu: another data file's categories, another program's export.
constexpr int kImportMenuText = 34003;
constexpr int kImportDataFileText = 34002;
constexpr int kImportForeignText = 34001;
// The export kinds of the Export menu, in mode order.
constexpr int kExportTexts[] = {107, 108, 109, 110};
constexpr int kPrintMode = 10;

// Menu texts read "&" as the mark of the access key.

QString Id(int textId) {
    return QString::number(textId); // localised with the window
}

} // namespace

QAction* frmMain::mnuFile(int index) const {
    return index >= 0 && index < kFileItems ? mnuFile_[size_t(index)] : nullptr;
}

QAction* frmMain::AddFileItem(int index, int textId, const QKeySequence& key) {
    QAction* item = mnuFileTop_->addAction(Id(textId));
    item->setShortcut(key);
    connect(item, &QAction::triggered, this, [this, index] { mnuFile_Click(index); });
    mnuFile_[size_t(index)] = item;
    return item;
}

void frmMain::AddSeparator(int index) {
    QAction* separator = mnuFileTop_->addSeparator();
    if (index >= 0) mnuFile_[size_t(index)] = separator;
}

// Index 9 once held a placeholder message and is left out.
void frmMain::BuildFileMenu() {
    mnuFileTop_ = menuBar()->addMenu(Id(100));
    AddFileItem(kNew, 101, QKeySequence(Qt::CTRL | Qt::Key_N));
    AddFileItem(kOpen, 102, QKeySequence(Qt::CTRL | Qt::Key_O));
    AddSeparator(2);
    AddFileItem(kSave, 103, QKeySequence(Qt::CTRL | Qt::Key_S));
    AddFileItem(kSaveAs, 104, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    AddSeparator(5);
    BuildImportMenu();
    AddFileItem(kMerge, kMergeText);
    BuildExportMenu();
    AddSeparator(8);
    AddFileItem(kPrint, 111, QKeySequence(Qt::CTRL | Qt::Key_P));
    AddSeparator();
    mnuReload_ = mnuFileTop_->addMenu(Id(112));
    mnuFile_[kRecentMenu] = mnuReload_->menuAction();
    AddSeparator();
    AddFileItem(kLock, kLockText, LockKey());
    AddFileItem(kExit, 113, QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void frmMain::BuildImportMenu() {
    QMenu* menu = mnuFileTop_->addMenu(Id(kImportMenuText));
    menu->setObjectName(QStringLiteral("mnuImport"));
    mnuFile_[kImport] = menu->menuAction();
    QAction* dataFile = menu->addAction(Id(kImportDataFileText));
    connect(dataFile, &QAction::triggered, this, [this] { mnuFile_Click(kImport); });
    QAction* other = menu->addAction(Id(kImportForeignText));
    other->setObjectName(QStringLiteral("mnuImportForeign"));
    connect(other, &QAction::triggered, this, [] { ImportFromOtherProgram(); });
}

void frmMain::BuildExportMenu() {
    mnuExport_ = mnuFileTop_->addMenu(Id(106));
    mnuFile_[kExportMenu] = mnuExport_->menuAction();
    for (int mode = 0; mode < int(std::size(kExportTexts)); ++mode) {
        QAction* item = mnuExport_->addAction(Id(kExportTexts[mode]));
        connect(item, &QAction::triggered, this, [mode] { ShowExportPrintWindow(mode); });
    }
}

void frmMain::mnuFile_Click(int index) {
    switch (index) {
    case kNew:
        NewDataFile();
        break;
    case kOpen:
        OpenWithDialog(false);
        break;
    case kSave:
        SaveDataFile(false);
        break;
    case kSaveAs:
        SaveDataFile(true);
        break;
    case kImport:
        ImportDataFile();
        break;
    case kPrint:
        ShowExportPrintWindow(kPrintMode);
        break;
    case kExit:
        Exit();
        break;
    case kLock:
        LockCommand();
        break;
    case kMerge:
        MergeOtherFile();
        break;
    default: // separators and submenu holders
        break;
    }
}

void frmMain::EnableFileCommands(bool fileOpen) {
    for (int index : kFileOpenItems)
        mnuFile_[size_t(index)]->setVisible(fileOpen);
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
