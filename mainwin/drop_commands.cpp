#include "mainwin/drop_commands.h"

#include "frame/language.h"
#include "frame/main_window_iface.h"
#include "frame/message_box.h"
#include "frame/program_state.h"
#include "frame/store_reason.h"
#include "mainwin/category_tree.h"
#include "mainwin/node_entries.h"
#include "mainwin/node_key.h"
#include "mainwin/text_ids.h"

#include <string>
#include <vector>

namespace qvs {

namespace {

const QString kCaption = QStringLiteral("QVS");

bool Refuse(const QString& text) {
    ShowMessage(text, vbExclamation, kCaption);
    return false;
}

bool Refuse(int textId, const std::string& name = {}) {
    return Refuse(GetLocalText(textId).replace(QLatin1String("%s"), QString::fromStdString(name)));
}

bool IsCategoryNode(NodeKind kind) {
    return kind == NodeKind::Category;
}

DropEffect FolderEffect(const QString& folderKey, const QString& targetKey) {
    const NodeKind source = NodeKindOf(folderKey);
    const NodeKind target = NodeKindOf(targetKey);
    const std::int16_t sourceCat = ParseNodeKey(folderKey, false).cat;
    const std::int16_t targetCat = ParseNodeKey(targetKey, false).cat;
    if (source == NodeKind::Category && IsCategoryNode(target) && targetCat != sourceCat)
        return DropEffect::CategoryIntoCategory;
    if (source == NodeKind::SubCategory && target == NodeKind::Root)
        return DropEffect::SubCategoryToRoot;
    if (source == NodeKind::SubCategory && IsCategoryNode(target) && targetCat != sourceCat)
        return DropEffect::SubCategoryToCategory;
    return DropEffect::None;
}

// Marks each entry a favourite; those gone from the store are counted.
bool AddFavourites(const std::vector<std::string>& services, int& missing) {
    bool changed = false;
    for (const std::string& service : services) {
        const ardeko::T_Password* p = Store().Password().Find(service);
        if (!p) {
            ++missing;
            continue;
        }
        if (!p->Favourites && Store().AddFavourite(service)) changed = true;
    }
    return changed;
}

std::vector<std::string> StdNames(const QStringList& services) {
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(services.size()));
    for (const QString& s : services)
        names.push_back(s.toStdString());
    return names;
}

// The services of the entries a folder node lists (a category with those
// of its subcategories).
std::vector<std::string> FolderServices(const QString& folderKey) {
    const EntryPredicate listed = NodeEntries(folderKey, Store());
    std::vector<std::string> names;
    for (const ardeko::T_Password& p : Store().Password())
        if (listed(p)) names.push_back(p.service);
    return names;
}

// Files each entry under the node's category and subcategory, all in one
// pass over the store; entries already there are left alone, so the file
// only counts as changed by a real move.
bool FileEntries(const QStringList& services, const QString& targetKey, int& missing) {
    const NodeCodes to = ParseNodeKey(targetKey, false);
    std::vector<std::string> moving;
    for (std::string& service : StdNames(services)) {
        const ardeko::T_Password* p = Store().Password().Find(service);
        if (!p)
            ++missing;
        else if (p->Codcat != to.cat || p->CodSCat != to.scat)
            moving.push_back(std::move(service));
    }
    return Store().PWChangeCatAll(moving, to.cat, to.scat) > 0;
}

bool CategoryIntoCategory(const QString& folderKey, std::int16_t target) {
    const std::int16_t cat = ParseNodeKey(folderKey, false).cat;
    // Its own subcategories would stay behind under a category that is gone.
    if (Store().SubCatNumber(cat) > 0) return Refuse(text::kHasSubCategories);
    const std::string name = Store().CatValue(cat);
    if (Store().SubCatExist(target, name))
        return Refuse(text::kSubCategoryNameUsed, Store().CatValue(target));
    return Store().CambiaCatInSub(name, target) || Refuse(text::kTreeMoveRefused);
}

bool SubCategoryToCategory(const QString& folderKey, std::int16_t target) {
    const NodeCodes codes = ParseNodeKey(folderKey, false);
    const std::string name = Store().SubCatValue(codes.scat);
    if (Store().SubCatExist(target, name))
        return Refuse(text::kSubCategoryNameUsed, Store().CatValue(target));
    return Store().CatChange(name, codes.cat, target) || Refuse(text::kTreeMoveRefused);
}

bool SubCategoryToRoot(const QString& folderKey) {
    const NodeCodes codes = ParseNodeKey(folderKey, false);
    const std::string name = Store().SubCatValue(codes.scat);
    if (!Store().CatAdd(name)) return Refuse(StoreReason(Store()));
    const std::int16_t added = Store().Category().Find(name)->Codcat;
    // The new category stays even if the move fails: the store changed.
    if (!Store().SubCatMove(codes.cat, added, name, true)) Refuse(text::kTreeMoveRefused);
    return true;
}

// The folder a moved folder became, found by its name once it has moved;
// "" when the drop moved no folder.
struct Landing {
    DropEffect effect = DropEffect::None;
    std::string name;
    std::int16_t targetCat = 0;
};

Landing LandingOf(DropEffect effect, const DragPayload& payload, const QString& targetKey) {
    const NodeCodes from = ParseNodeKey(payload.folderKey, false);
    Landing landing{effect, {}, ParseNodeKey(targetKey, false).cat};
    if (effect == DropEffect::CategoryIntoCategory)
        landing.name = Store().CatValue(from.cat);
    else if (effect == DropEffect::SubCategoryToRoot || effect == DropEffect::SubCategoryToCategory)
        landing.name = Store().SubCatValue(from.scat);
    return landing;
}

QString LandedKey(const Landing& landing) {
    if (landing.name.empty()) return {};
    if (landing.effect == DropEffect::SubCategoryToRoot) {
        const ardeko::T_Categ* category = Store().Category().Find(landing.name);
        return category ? CategoryNodeKey(category->Codcat) : QString();
    }
    for (const ardeko::T_SCateg& s : Store().SubCategory())
        if (s.Codcat == landing.targetCat && s.DescrSCat == landing.name)
            return SubCategoryNodeKey(s.Codcat, s.CodSCat);
    return {};
}

bool RunDrop(DropEffect effect, const QString& targetKey, const DragPayload& payload) {
    const std::int16_t targetCat = ParseNodeKey(targetKey, false).cat;
    int missing = 0;
    bool changed = false;
    switch (effect) {
    case DropEffect::None:
        return false;
    case DropEffect::FavouriteEntries:
        changed = AddFavourites(StdNames(payload.services), missing);
        break;
    case DropEffect::FavouriteFolder:
        changed = AddFavourites(FolderServices(payload.folderKey), missing);
        break;
    case DropEffect::FileEntries:
        changed = FileEntries(payload.services, targetKey, missing);
        break;
    case DropEffect::CategoryIntoCategory:
        return CategoryIntoCategory(payload.folderKey, targetCat);
    case DropEffect::SubCategoryToRoot:
        return SubCategoryToRoot(payload.folderKey);
    case DropEffect::SubCategoryToCategory:
        return SubCategoryToCategory(payload.folderKey, targetCat);
    }
    // Entries deleted since the drag started cannot be moved.
    if (missing > 0) Refuse(text::kTreeMoveRefused);
    return changed;
}

} // namespace

DropEffect DropEffectOf(const QString& targetKey, const DragPayload& payload) {
    // An empty key is no node (the empty space below the nodes).
    if (targetKey.isEmpty()) return DropEffect::None;
    switch (NodeKindOf(targetKey)) {
    case NodeKind::DueState:
    case NodeKind::Unknown:
        return DropEffect::None;
    case NodeKind::Favourites:
        return payload.IsFolder() ? DropEffect::FavouriteFolder : DropEffect::FavouriteEntries;
    default:
        return payload.IsFolder() ? FolderEffect(payload.folderKey, targetKey)
                                  : DropEffect::FileEntries;
    }
}

QString DropOnNode(const QString& targetKey, const DragPayload& payload, const QString& shownKey) {
    const DropEffect effect = DropEffectOf(targetKey, payload);
    const Landing landing = LandingOf(effect, payload, targetKey);
    if (!RunDrop(effect, targetKey, payload)) return {};
    if (IMainWindow* main = CurrentMainWindow()) main->UpdateView(QString());
    const QString landed = LandedKey(landing);
    return landed.isEmpty() ? shownKey : landed;
}

void ConnectDrops(CategoryTree& tree) {
    tree.SetDropRules(
        [](const QString& key, const DragPayload& payload) {
            return DropEffectOf(key, payload) != DropEffect::None;
        },
        [&tree](const QString& key, const DragPayload& payload) {
            const QString show = DropOnNode(key, payload, tree.ShownKey());
            if (!show.isEmpty() && tree.FindNode(show)) tree.SelectNode(show);
        });
}

} // namespace qvs
