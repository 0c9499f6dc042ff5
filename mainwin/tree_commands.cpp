#include "mainwin/tree_commands.h"

#include "dialogs/categories/frm_change_cat.h"
#include "frame/language.h"
#include "frame/main_window_iface.h"
#include "frame/message_box.h"
#include "frame/program_state.h"
#include "mainwin/input_box.h"
#include "mainwin/text_ids.h"

#include <QComboBox>

namespace qvs {

namespace {

const QString kCaption = QStringLiteral("QVS");

bool Ask(int textId) {
    return ShowMessage(GetLocalText(textId), vbYesNo | vbQuestion, kCaption) == vbYes;
}

// Shows the refusal when the store did not change; rebuilds the view when
// it did.
bool Done(bool ok, int refusedText) {
    if (!ok) {
        ShowMessage(GetLocalText(refusedText), vbExclamation, kCaption);
        return false;
    }
    if (IMainWindow* main = CurrentMainWindow()) main->UpdateView(QString());
    return true;
}

// The name typed, trimmed; none when cancelled.
std::optional<std::string> AskName(int prompt, int title, const QString& current = QString()) {
    const std::optional<QString> typed =
        InputBox(GetLocalText(prompt), GetLocalText(title), current);
    if (!typed) return std::nullopt;
    return typed->trimmed().toStdString();
}

bool IsCategory(NodeKind kind) {
    return kind == NodeKind::Category;
}

std::string CategoryName(const NodeCodes& codes) {
    return Store().CatValue(codes.cat);
}

std::string SubCategoryName(const NodeCodes& codes) {
    return Store().SubCatValue(codes.scat);
}

} // namespace

bool TreeAddNode(const NodeRef& node) {
    const auto [kind, codes] = node;
    // Category 0 holds the entries without category: nothing can go under it.
    if (kind == NodeKind::SubCategory || kind == NodeKind::NoSubCategory ||
        kind == NodeKind::NoCategory || kind == NodeKind::Unknown)
        return false;
    const std::optional<std::string> name = AskName(text::kTreeAddPrompt, text::kTreeAddTitle);
    if (!name) return false;
    if (name->empty()) return Done(false, text::kTreeAddRefused);
    return Done(IsCategory(kind) ? Store().SubCatAdd(codes.cat, *name) : Store().CatAdd(*name),
                text::kTreeAddRefused);
}

bool TreeRenameNode(const NodeRef& node) {
    const auto [kind, codes] = node;
    if (kind != NodeKind::Category && kind != NodeKind::SubCategory) return false;
    const std::string old = IsCategory(kind) ? CategoryName(codes) : SubCategoryName(codes);
    if (old.empty()) return false;
    const std::optional<std::string> name =
        AskName(text::kTreeRenamePrompt, text::kTreeRenameTitle, QString::fromStdString(old));
    if (!name || *name == old) return false;
    if (name->empty()) return Done(false, text::kTreeRenameRefused);
    return Done(IsCategory(kind) ? Store().CatRen(old, *name)
                                 : Store().SubCatRen(codes.cat, old, *name),
                text::kTreeRenameRefused);
}

bool TreeDeleteNode(const NodeRef& node) {
    const auto [kind, codes] = node;
    if (kind != NodeKind::Category && kind != NodeKind::SubCategory) return false;
    if (!Ask(IsCategory(kind) ? text::kDeleteCategoryQuestion : text::kDeleteSubCategoryQuestion))
        return false;
    // Deleting the entries cannot be undone: only an explicit No does it,
    // Escape or the close box give up the whole delete.
    const int keep =
        ShowMessage(GetLocalText(text::kKeepEntriesQuestion), vbYesNoCancel | vbQuestion, kCaption);
    if (keep != vbYes && keep != vbNo) return false;
    return Done(IsCategory(kind)
                    ? Store().CatDel(CategoryName(codes), keep == vbYes)
                    : Store().SubCatDel(codes.cat, SubCategoryName(codes), keep == vbYes),
                IsCategory(kind) ? text::kDeleteCategoryRefused : text::kDeleteSubCategoryRefused);
}

namespace {

// The category to move to, from the category windows' own chooser; none
// when cancelled or when there is nothing else to choose. except is not
// offered.
std::optional<std::int16_t> ChooseTarget(int titleId, std::int16_t except) {
    frmChangeCat chooser(Store());
    QComboBox* list = chooser.cboCategorie();
    if (const int own = list->findData(except); own >= 0) list->removeItem(own);
    if (list->count() == 0) return std::nullopt;
    const std::int16_t code = chooser.ChooseCat(GetLocalText(titleId));
    if (code < 0) return std::nullopt;
    return code;
}

} // namespace

bool TreeMoveNode(const NodeRef& node) {
    const auto [kind, codes] = node;
    if (kind != NodeKind::Category && kind != NodeKind::SubCategory) return false;
    // Its own subcategories would be left under a category that is gone.
    if (IsCategory(kind) && Store().SubCatNumber(codes.cat) > 0) return false;
    const std::optional<std::int16_t> target = ChooseTarget(
        IsCategory(kind) ? text::kMoveCategoryTitle : text::kMoveSubCategoryTitle, codes.cat);
    if (!target) return false;
    return Done(IsCategory(kind) ? Store().CambiaCatInSub(CategoryName(codes), *target)
                                 : Store().CatChange(SubCategoryName(codes), codes.cat, *target),
                text::kTreeMoveRefused);
}

bool TreeMoveSubCategoryEntries(const NodeRef& node) {
    if (node.kind != NodeKind::SubCategory) return false;
    const NodeCodes& codes = node.codes;
    const std::optional<std::int16_t> target = ChooseTarget(text::kMoveSubCategoryTitle, 0);
    if (!target || !Ask(text::kMoveEntriesQuestion)) return false;
    return Done(Store().SubCatMove(codes.cat, *target, SubCategoryName(codes), true),
                text::kTreeMoveRefused);
}

} // namespace qvs
