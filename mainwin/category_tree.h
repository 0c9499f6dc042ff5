// The category tree of the main window (tvtreeview): the open file as a root
// node, the folders of entries without category, favourites and the four
// expiry/change states, and the categories with their subcategories. Every
// node carries its key (node_key.h) and the number of entries it stands for,
// shown in a second, right-aligned column so the numbers line up and stay
// visible when a long name is cut short.
//
// The tree reads the store it is given but changes only the remembered
// open/closed state of nodes. What a node shows in the grid and what its
// menu offers belong to the window hosting the tree, which it tells through
// signals.
#pragma once

#include "mainwin/entry_drag.h"
#include "mainwin/node_counts.h"

#include <QHash>
#include <QIcon>
#include <QTreeWidget>

#include <cstdint>
#include <functional>
#include <optional>

namespace ardeko {
class clsPW;
}

namespace qvs {

class CategoryTree : public QTreeWidget {
    Q_OBJECT
public:
    // Where the tree finds the store at each use: the program replaces its
    // store for a new file, so the tree must not hold on to one.
    using StoreSource = std::function<ardeko::clsPW&()>;

    enum Column { NameColumn = 0, NumberColumn = 1 };
    // Item data of the name column.
    static constexpr int KeyRole = Qt::UserRole;
    static constexpr int NumberRole = Qt::UserRole + 1;
    static constexpr int ImageRole = Qt::UserRole + 2; // image key shown now
    static constexpr int ClosedImageRole = Qt::UserRole + 3;
    static constexpr int OpenImageRole = Qt::UserRole + 4;

    // The program's store (Store()).
    explicit CategoryTree(QWidget* parent = nullptr);
    CategoryTree(StoreSource store, QWidget* parent);
    ~CategoryTree() override;

    // Rebuilds every node from the store and selects the root, without
    // reporting it: afterwards no node counts as shown, so selecting any
    // node (SelectNode(SelectedKey()) for the root) reports it. Empty while
    // no file is open.
    void LoadTree();
    // Removes every node, whether a file is open or not (the file locked).
    void Empty();
    // Adds the node for key under parent by the key's kind: "R" the root with
    // its fixed folders (parent ignored), "C..." a category under the root,
    // "S..." a subcategory under its category node (after the category's
    // no-subcategory folder, added with the first subcategory). nullptr when
    // a node with that key exists already or the key is of another kind.
    // Numbers come from the last count (LoadTree, CalcNumber).
    QTreeWidgetItem* AddTreeNode(const QString& key, const QString& text, QTreeWidgetItem* parent);
    // Refreshes the numbers after entries changed. cat and scat are the codes
    // of the folders the change touched; every node is recounted anyway, in
    // one pass over the entries, since an entry that moved also leaves its
    // old folder's number out of date.
    void CalcNumber(std::int16_t cat = 0, std::int16_t scat = 0);

    // Lookups; nullptr, "" or -1 when there is no such node.
    QTreeWidgetItem* FindNode(const QString& key) const;
    static QString NodeKey(const QTreeWidgetItem* item);
    QString KeyAt(const QPoint& viewportPos) const; // for drops
    QString SelectedKey() const;
    int Number(const QString& key) const;

    // Selects the node and reports it like a selection by the user. False
    // when there is no such node.
    bool SelectNode(const QString& key);
    // The node whose entries the grid lists, as reported by nodeActivated.
    QString ShownKey() const { return shownKey_; }
    // Forgets the shown node, so that the next selection is reported even
    // when it is the same node (the grid was refilled from elsewhere).
    void ResetShownNode() { shownKey_.clear(); }
    // Text id of the favourite command's caption for the shown node: 441
    // ("remove from favourites") while the favourites are shown, else 440.
    int FavouriteCaptionId() const;

    // The node of a search's results (key kSearchKey), first of the tree:
    // added (or renumbered) and made the shown, selected node without
    // reporting it, as the search fills the grid itself. Removing it leaves
    // the tree without a shown node. Rebuilding the tree drops it too.
    void ShowSearchNode(const QString& text, int results);
    void RemoveSearchNode();
    bool HasSearchNode() const { return SearchNode() != nullptr; }

    // Drag and drop: folders are dragged from the tree, entries from the
    // grid, and both dropped onto nodes. accepts tells whether the node with
    // a key takes a drag (it decides the cursor); run performs an accepted
    // drop once the drop event is over, since it rebuilds this tree. Without
    // rules nothing is taken.
    using DropTest = std::function<bool(const QString& key, const DragPayload& payload)>;
    using DropRun = std::function<void(const QString& key, const DragPayload& payload)>;
    void SetDropRules(DropTest accepts, DropRun run);

signals:
    // The user selected a node other than the one shown last: the grid is to
    // list its entries.
    void nodeActivated(const QString& key);
    // Sent with nodeActivated: the new FavouriteCaptionId().
    void favouriteCaptionChanged(int textId);
    // Right button (or the menu key) on a node, which is now selected: the
    // tree's pop-up menu is to open at globalPos.
    void contextMenuRequested(const QString& key, const QPoint& globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
    Qt::DropActions supportedDropActions() const override;
    bool dropMimeData(QTreeWidgetItem* parent, int index, const QMimeData* data,
                      Qt::DropAction action) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Silences the handlers and the drawing while the tree is rebuilt.
    class LoadScope;

    void ForgetNodes();
    QTreeWidgetItem* AddRoot(const QString& text);
    QTreeWidgetItem* AddCategory(const QString& key, const QString& text, QTreeWidgetItem* root);
    QTreeWidgetItem* AddSubCategory(const QString& key, const QString& text,
                                    QTreeWidgetItem* category);
    void AddCategories(const ardeko::clsPW& store, QTreeWidgetItem* root);
    QTreeWidgetItem* NewNode(const QString& key, const QString& text, const char* closedImage,
                             const char* openImage, QTreeWidgetItem* parent);
    void SetNumber(QTreeWidgetItem* item, int number);
    void ShowImage(QTreeWidgetItem* item, bool open);
    const QIcon& Icon(const QString& imageKey);

    QTreeWidgetItem* SearchNode() const;

    void OnExpandedChanged(QTreeWidgetItem* item, bool expanded);
    void OnNodeSelected(QTreeWidgetItem* item);
    void RequestMenu(QTreeWidgetItem* item, const QPoint& viewportPos);
    void SetupDragAndDrop();
    bool Accepts(const QString& key, const DragPayload& payload) const;

    StoreSource store_;
    NodeCounts counts_;
    QHash<QString, QTreeWidgetItem*> nodes_;
    QHash<QString, QIcon> icons_;
    QString shownKey_;
    bool loading_ = false;
    DropTest dropAccepts_;
    DropRun dropRun_;
    std::optional<DragPayload> dragged_; // what is dragged over the tree now
};

} // namespace qvs
