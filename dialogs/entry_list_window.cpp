#include "dialogs/entry_list_window.h"

#include "dialogs/text_ids.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/window_placement.h"

#include <QCloseEvent>

namespace qvs {

EntryListWindow::EntryListWindow(const QString& placementName, QWidget* parent)
    : QDialog(parent), placementName_(placementName) {}

void EntryListWindow::ShowOnStack() {
    if (!stackEntry_) stackEntry_.emplace(this);
    RestoreWindowPlacement(this, placementName_);
    show();
    raise();
    activateWindow();
}

void EntryListWindow::OpenEntry(const EntryEditor& editor, const QString& service,
                                const std::function<void()>& refresh) {
    if (!editor) return;
    QWidget* window = editor(service);
    if (!window) {
        ShowMessage(LocalTextWith(text::kListedEntryGone, service), vbExclamation,
                    QStringLiteral("QVS"));
        refresh();
        return;
    }
    connect(window, &QObject::destroyed, this, refresh);
}

void EntryListWindow::closeEvent(QCloseEvent* event) {
    Leave();
    QDialog::closeEvent(event);
}

// Escape and the closing button end here rather than in closeEvent.
void EntryListWindow::done(int result) {
    Leave();
    QDialog::done(result);
}

void EntryListWindow::Leave() {
    if (!stackEntry_) return;
    SaveWindowPlacement(this, placementName_);
    stackEntry_.reset();
}

} // namespace qvs
