// What the windows that list entries to act on share (the expiry check, the
// password health report): shown modeless on the window stack with their
// remembered placement, and opening a listed entry in the editor.
#pragma once

#include "frame/modal_stack.h"

#include <QDialog>

#include <functional>
#include <optional>

namespace qvs {

// Opens an entry in the editor and returns its window (nullptr when the
// store has no such entry).
using EntryEditor = std::function<QWidget*(const QString& service)>;

class EntryListWindow : public QDialog {
    Q_OBJECT
public:
    EntryListWindow(const QString& placementName, QWidget* parent);

protected:
    // Puts the window on the stack (once), where it was last, and to the front.
    void ShowOnStack();
    // Opens service with editor, then runs refresh once the editor has
    // closed (an edit may change what the list shows); for an entry gone
    // meanwhile, says so and refreshes at once.
    void OpenEntry(const EntryEditor& editor, const QString& service,
                   const std::function<void()>& refresh);

    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    void Leave();

    QString placementName_;
    std::optional<ModalStackEntry> stackEntry_; // while shown
};

} // namespace qvs
