// The main window of QVS: the window the program starts into, its menus and
// the close checks that run before the program ends.
#pragma once

#include "main_window_iface.h"

#include <QMainWindow>

#include <array>

class QAction;
class QLabel;
class QMenu;

namespace qvs {

class frmMain : public QMainWindow, public IMainWindow {
    Q_OBJECT
public:
    // The File menu holds this many indexed items (some are separators).
    static constexpr int kFileItems = 13;

    // Becomes the current main window.
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The window's load: its remembered place, the recent files, and while
    // the program starts up the tips, the start-up wizard and the start
    // state of the window.
    void Load();

    QWidget* MainWidget() override { return this; }
    void UpdateView(const QString& selection) override;
    void ReloadMenu() override;

    // Runs the File menu item with this index; the toolbar uses it too.
    void mnuFile_Click(int index);
    // Closes the window through its close checks, which end the program.
    void Exit();

    // The menus, for the toolbar and for tests. Items of unused indexes
    // are nullptr.
    QMenu* mnuFileTop() const { return mnuFileTop_; }
    QAction* mnuFile(int index) const;
    QMenu* mnuReload() const { return mnuReload_; }
    QMenu* mnuExport() const { return mnuExport_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildFileMenu();
    QAction* AddFileItem(int index, int textId, const QKeySequence& key = {});
    void AddSeparator(int index = -1);
    void BuildExportMenu();
    void EnableFileCommands(bool fileOpen);
    void ShowFileState();

    bool QueryUnload();
    void Unload();
    void SaveLayout();

    QMenu* mnuFileTop_ = nullptr;
    QMenu* mnuReload_ = nullptr;
    QMenu* mnuExport_ = nullptr;
    std::array<QAction*, kFileItems> mnuFile_{};
    QLabel* lblFileState_ = nullptr;
};

} // namespace qvs
