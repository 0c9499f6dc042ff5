// Another version of the open file replacing the store (a reload from disk,
// a merge): the window shows it from the same place. Node keys carry codes,
// which differ between versions, so the shown node is remembered by names.
#include "mainwin/frm_main.h"

#include "frame/program_state.h"
#include "mainwin/category_tree.h"
#include "mainwin/entry_grid.h"
#include "mainwin/node_key.h"
#include "mainwin/status_bar.h"

#include <QLabel>
#include <QTimer>

namespace qvs {

namespace {

// A note stays this long; a later one replaces it.
constexpr int kNoteMs = 120000;

struct NamedNode {
    QString key; // the key itself for nodes that name no category
    std::string cat, sub;
};

NamedNode NameNode(const QString& key) {
    const NodeKind kind = NodeKindOf(key);
    if (kind != NodeKind::Category && kind != NodeKind::NoSubCategory &&
        kind != NodeKind::SubCategory)
        return {key, {}, {}};
    const NodeCodes codes = ParseNodeKey(key, false);
    const ardeko::clsPW& store = Store();
    return {key, store.CatValue(codes.cat),
            kind == NodeKind::SubCategory ? store.SubCatValue(codes.scat) : std::string()};
}

// The key of the same node in the store now; "" when it is gone.
QString KeyOf(const NamedNode& node) {
    if (node.cat.empty()) return node.key;
    const ardeko::clsPW& store = Store();
    const ardeko::T_Categ* cat = store.Category().Find(node.cat);
    if (!cat) return {};
    const NodeKind kind = NodeKindOf(node.key);
    if (kind == NodeKind::Category) return CategoryNodeKey(cat->Codcat);
    if (kind == NodeKind::NoSubCategory) return SubCategoryNodeKey(cat->Codcat, 0);
    const ardeko::T_SCateg* sub =
        store.SubCategory().Find(ardeko::SubCategoryKey(cat->Codcat, node.sub));
    return sub ? SubCategoryNodeKey(cat->Codcat, sub->CodSCat) : QString();
}

} // namespace

void frmMain::KeepPlaceAcross(const std::function<void()>& replace) {
    if (ShowsLockedView()) { // the unlock shows it
        replace();
        ShowTitle();
        return;
    }
    const NamedNode node = NameNode(tree_->ShownKey());
    const QString service = grid_->SelectedService();
    const int sortColumn = grid_->SortColumn();
    const Qt::SortOrder order = grid_->SortOrder();
    replace();
    UpdateView(QString());
    const QString key = KeyOf(node);
    if (!key.isEmpty() && tree_->FindNode(key)) tree_->SelectNode(key);
    if (sortColumn >= 0) grid_->SortGrid(sortColumn, order);
    if (!service.isEmpty()) grid_->SelectService(service);
}

// In a field of its own: a status bar message would be painted over by the
// entry count whenever the grid changes.
void frmMain::ShowNote(const QString& text) {
    auto* note = sbstatusbar_->findChild<QLabel*>(QStringLiteral("sbNote"));
    if (!note) {
        note = new QLabel(sbstatusbar_);
        note->setObjectName(QStringLiteral("sbNote"));
        sbstatusbar_->addWidget(note);
        auto* clear = new QTimer(note);
        clear->setObjectName(QStringLiteral("sbNoteTimer"));
        clear->setSingleShot(true);
        connect(clear, &QTimer::timeout, note, &QLabel::clear);
    }
    note->setText(text);
    note->findChild<QTimer*>(QStringLiteral("sbNoteTimer"))->start(kNoteMs);
}

} // namespace qvs
