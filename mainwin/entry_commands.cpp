#include "mainwin/entry_commands.h"

#include "dialogs/entry/frm_pw.h"
#include "frame/language.h"
#include "frame/main_window_iface.h"
#include "frame/message_box.h"
#include "frame/program_state.h"
#include "frame/web_address.h"
#include "mainwin/category_tree.h"
#include "mainwin/later_windows.h"
#include "mainwin/node_key.h"
#include "mainwin/text_ids.h"

namespace qvs {

namespace {

constexpr char kCaption[] = "QVS";

const ardeko::T_Password* FindEntry(const QString& service) {
    return Store().Password().Find(service.toStdString());
}

} // namespace

void RefreshAfterEntryChange(CategoryTree* tree, const ardeko::T_Password& changed) {
    if (IMainWindow* main = CurrentMainWindow())
        main->UpdateView(QString::fromStdString(changed.service));
    if (tree) tree->CalcNumber(changed.Codcat, changed.CodSCat);
}

bool DeleteEntry(const QString& service, CategoryTree* tree) {
    const ardeko::T_Password* found = FindEntry(service);
    if (!found) return false;
    QString question = GetLocalText(text::kDeleteEntryQuestion);
    question.replace(QLatin1String("%n"), service);
    if (ShowMessage(question, vbYesNo | vbQuestion, QLatin1String(kCaption)) != vbYes) return false;
    const ardeko::T_Password deleted = *found; // the tree recounts its folders
    if (!Store().PWDel(service.toStdString())) return false;
    RefreshAfterEntryChange(App().inTrayMode ? nullptr : tree, deleted);
    return true;
}

void AddEntry(const NodeRef& node) {
    const NodeCodes codes = node.WithAny();
    PasswordAdd(codes.cat, codes.scat);
}

void EditEntry(const QString& service) {
    if (service.isEmpty()) {
        ShowMessage(GetLocalText(text::kNoEntrySelected), vbExclamation, QLatin1String(kCaption));
        return;
    }
    PasswordEdit(service);
}

void ToggleFavourite(const QString& service, const QString& shownNode, CategoryTree* tree) {
    const ardeko::T_Password* found = FindEntry(service);
    if (!found) return;
    const std::string name = service.toStdString();
    const bool ok = shownNode == QLatin1String(kFavouritesKey) ? Store().DelFavourite(name)
                                                               : Store().AddFavourite(name);
    if (ok) RefreshAfterEntryChange(tree, *FindEntry(service));
}

QString EntryUrlOf(const QString& service, EntryUrl which) {
    const ardeko::T_Password* found = FindEntry(service);
    if (!found) return {};
    switch (which) {
    case EntryUrl::Access:
        return QString::fromStdString(found->URL_Access);
    case EntryUrl::Delete:
        return QString::fromStdString(found->URL_Delete);
    case EntryUrl::Change:
        return QString::fromStdString(found->URL_Change);
    }
    return {};
}

void OpenEntryUrl(const QString& service, EntryUrl which) {
    if (!service.isEmpty()) OpenWebAddress(EntryUrlOf(service, which));
}

} // namespace qvs
