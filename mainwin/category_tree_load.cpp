// Building the tree from the store, and keeping the numbers current.
#include "mainwin/category_tree.h"

#include "frame/language.h"
#include "frame/options.h"
#include "mainwin/node_key.h"
#include "mainwin/text_ids.h"

#include <QFileInfo>

#include <unordered_map>
#include <vector>

namespace qvs {

namespace {

struct StateFolder {
    const char* key;
    int textId;
    const char* closedImage;
    const char* openImage;
};
constexpr StateFolder kStateFolders[] = {
    {kExpiringKey, text::kTreeExpiring, "CWARN", "OWARN"},
    {kExpiredKey, text::kTreeExpired, "CALERT", "OALERT"},
    {kChangeSoonKey, text::kTreeChangeSoon, "CWARN", "OWARN"},
    {kChangeDueKey, text::kTreeChangeDue, "CALERT", "OALERT"},
};

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

// The root's text: the file name without folder and extension. A name
// without extension cannot come from the file commands; show it whole.
QString RootText(const ardeko::clsPW& store) {
    const auto name = store.RootName();
    return name ? Text(*name) : QFileInfo(Text(store.Filename())).fileName();
}

// The subcategories of each category code, in store order. Subcategories
// whose category is gone are listed too but never asked for.
std::unordered_map<std::int16_t, std::vector<const ardeko::T_SCateg*>>
SubCategoriesByCategory(const ardeko::clsPW& store) {
    std::unordered_map<std::int16_t, std::vector<const ardeko::T_SCateg*>> by;
    for (const ardeko::T_SCateg& s : store.SubCategory())
        by[s.Codcat].push_back(&s);
    return by;
}

} // namespace

class CategoryTree::LoadScope {
public:
    explicit LoadScope(CategoryTree& tree) : tree_(tree), drawing_(tree.updatesEnabled()) {
        tree_.loading_ = true;
        tree_.setUpdatesEnabled(false);
    }
    ~LoadScope() {
        tree_.loading_ = false;
        tree_.setUpdatesEnabled(drawing_);
    }
    LoadScope(const LoadScope&) = delete;
    LoadScope& operator=(const LoadScope&) = delete;

private:
    CategoryTree& tree_;
    bool drawing_;
};

void CategoryTree::LoadTree() {
    const LoadScope scope(*this);
    ForgetNodes();
    const ardeko::clsPW& store = store_();
    if (store.Filename().empty()) return;
    counts_ = CountNodes(store);
    QTreeWidgetItem* root = AddTreeNode(QLatin1String(kRootKey), RootText(store), nullptr);
    AddCategories(store, root);
    setCurrentItem(root);
    scrollToItem(root);
}

void CategoryTree::Empty() {
    const LoadScope scope(*this);
    ForgetNodes();
}

void CategoryTree::ForgetNodes() {
    clear();
    nodes_.clear();
    shownKey_.clear();
}

void CategoryTree::AddCategories(const ardeko::clsPW& store, QTreeWidgetItem* root) {
    const auto subCategories = SubCategoriesByCategory(store);
    for (const ardeko::T_Categ& c : store.Category()) {
        QTreeWidgetItem* node = AddTreeNode(CategoryNodeKey(c.Codcat), Text(c.DescrCat), root);
        if (!node) continue;
        const auto subs = subCategories.find(c.Codcat);
        if (subs != subCategories.end())
            for (const ardeko::T_SCateg* s : subs->second)
                AddTreeNode(SubCategoryNodeKey(c.Codcat, s->CodSCat), Text(s->DescrSCat), node);
        if (node->childCount() > 0) node->setExpanded(store.NodeStat(c.DescrCat));
    }
}

QTreeWidgetItem* CategoryTree::AddTreeNode(const QString& key, const QString& text,
                                           QTreeWidgetItem* parent) {
    if (FindNode(key)) return nullptr;
    switch (NodeKindOf(key)) {
    case NodeKind::Root:
        return AddRoot(text);
    case NodeKind::Category:
        return parent ? AddCategory(key, text, parent) : nullptr;
    case NodeKind::SubCategory:
        return parent ? AddSubCategory(key, text, parent) : nullptr;
    default:
        return nullptr;
    }
}

QTreeWidgetItem* CategoryTree::AddRoot(const QString& text) {
    QTreeWidgetItem* root = NewNode(QLatin1String(kRootKey), text, "QVS", "QVS", nullptr);
    if (store_().CatNumber() > 0)
        NewNode(QLatin1String(kNoCategoryKey), GetLocalText(text::kTreeNoCategory), "CFOLDER",
                "OFOLDER", nullptr);
    NewNode(QLatin1String(kFavouritesKey), GetLocalText(text::kTreeFavourites), "CPREF", "OPREF",
            nullptr);
    if (Opt().ViewExpChg)
        for (const StateFolder& f : kStateFolders)
            NewNode(QLatin1String(f.key), GetLocalText(f.textId), f.closedImage, f.openImage,
                    nullptr);
    return root;
}

QTreeWidgetItem* CategoryTree::AddCategory(const QString& key, const QString& text,
                                           QTreeWidgetItem* root) {
    QTreeWidgetItem* node = NewNode(key, text, "CATCLOSE", "CATOPEN", root);
    root->setExpanded(store_().NodeStat(root->text(NameColumn).toStdString()));
    return node;
}

QTreeWidgetItem* CategoryTree::AddSubCategory(const QString& key, const QString& text,
                                              QTreeWidgetItem* category) {
    if (category->childCount() == 0) {
        const std::int16_t cat = ParseNodeKey(key, false).cat;
        NewNode(SubCategoryNodeKey(cat, 0), GetLocalText(text::kTreeNoSubCategory), "CFOLDER",
                "OFOLDER", category);
    }
    return NewNode(key, text, "SCATCLOSE", "SCATOPEN", category);
}

QTreeWidgetItem* CategoryTree::NewNode(const QString& key, const QString& text,
                                       const char* closedImage, const char* openImage,
                                       QTreeWidgetItem* parent) {
    if (FindNode(key)) return nullptr;
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setData(NameColumn, KeyRole, key);
    item->setData(NameColumn, ClosedImageRole, QString::fromLatin1(closedImage));
    item->setData(NameColumn, OpenImageRole, QString::fromLatin1(openImage));
    item->setTextAlignment(NumberColumn, Qt::AlignRight | Qt::AlignVCenter);
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (IsDraggableFolder(key)) flags |= Qt::ItemIsDragEnabled;
    if (NodeKindOf(key) != NodeKind::DueState) flags |= Qt::ItemIsDropEnabled;
    item->setFlags(flags);
    if (parent)
        parent->addChild(item);
    else
        addTopLevelItem(item);
    nodes_.insert(key, item);
    ShowImage(item, false);
    SetNumber(item, counts_.ForKey(key));
    return item;
}

void CategoryTree::SetNumber(QTreeWidgetItem* item, int number) {
    item->setData(NameColumn, NumberRole, number);
    item->setText(NumberColumn, QString::number(number));
}

void CategoryTree::CalcNumber(std::int16_t, std::int16_t) {
    if (nodes_.isEmpty()) return;
    counts_ = CountNodes(store_());
    for (auto it = nodes_.cbegin(); it != nodes_.cend(); ++it)
        SetNumber(it.value(), counts_.ForKey(it.key()));
}

} // namespace qvs
