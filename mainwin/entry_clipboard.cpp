#include "mainwin/entry_clipboard.h"

#include "dialogs/entry/frm_pw.h"
#include "frame/program_state.h"
#include "mainwin/entry_commands.h"

namespace qvs {

bool EntryClipboard::Copy(const QString& service) {
    const ardeko::T_Password* found = Store().Password().Find(service.toStdString());
    if (!found) return false;
    record_ = *found;
    return true;
}

bool EntryClipboard::Cut(const QString& service, CategoryTree* tree) {
    if (!Copy(service) || !Store().PWDel(service.toStdString())) return false;
    RefreshAfterEntryChange(tree, *record_);
    return true;
}

void EntryClipboard::Paste() const {
    if (record_) PasswordPasteNew(*record_);
}

} // namespace qvs
