#include "frame/selection_guard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

namespace qvs {

void KeepOutOfSelection(QLineEdit* box) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection()) return;
    QObject::connect(clipboard, &QClipboard::selectionChanged, box, [box, clipboard] {
        if (!clipboard->ownsSelection() || !box->hasSelectedText()) return;
        const QString selected = clipboard->text(QClipboard::Selection);
        if (!selected.isEmpty() && selected == box->selectedText())
            clipboard->clear(QClipboard::Selection);
    });
}

} // namespace qvs
