// What a drag inside the main window carries, under a MIME type of our own:
// the entries of the grid rows dragged, or one folder (category or
// subcategory node) dragged from the tree. A drag is only understood by the
// run of the program that started it: service names mean nothing in another
// program, or in another run with another file.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QMimeData;
class QWidget;

namespace qvs {

inline constexpr char kDragMimeType[] = "application/x-quorvane-drag";

struct DragPayload {
    QStringList services; // an entry drag
    QString folderKey;    // a folder drag: the node's key
    bool IsFolder() const { return !folderKey.isEmpty(); }
};

// A new MIME data object for a drag of this run (the caller owns it).
QMimeData* EncodeDrag(const DragPayload& payload);
// None for data of another kind, of another run, or damaged.
std::optional<DragPayload> DecodeDrag(const QMimeData* data);

// Category and subcategory nodes, and the folders of entries without
// category or subcategory, start a folder drag; the root, the favourites and
// the state folders do not.
bool IsDraggableFolder(const QString& key);

// Runs the drag of data (taking it over) from source until it is dropped or
// cancelled. The cursor shows imageKey ("DRAGPW", "DRAGFOLD") over a node
// that takes the drop, "NODRAG" elsewhere.
void ExecDrag(QWidget* source, QMimeData* data, const char* imageKey);

} // namespace qvs
