#include "mainwin/entry_drag.h"

#include "frame/image_list.h"
#include "mainwin/node_key.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDrag>
#include <QIODevice>
#include <QMimeData>
#include <QWidget>
#include <QRandomGenerator>

namespace qvs {

namespace {

constexpr int kCursorSize = 32;

// Tells this run's drags from any other's.
quint64 RunToken() {
    static const quint64 token = QRandomGenerator::system()->generate64();
    return token;
}

QString MimeType() {
    return QLatin1String(kDragMimeType);
}

} // namespace

QMimeData* EncodeDrag(const DragPayload& payload) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << RunToken() << static_cast<qint64>(QCoreApplication::applicationPid())
        << payload.folderKey << payload.services;
    auto* data = new QMimeData;
    data->setData(MimeType(), bytes);
    return data;
}

std::optional<DragPayload> DecodeDrag(const QMimeData* data) {
    if (!data || !data->hasFormat(MimeType())) return std::nullopt;
    QDataStream in(data->data(MimeType()));
    quint64 token = 0;
    qint64 pid = 0;
    DragPayload payload;
    in >> token >> pid >> payload.folderKey >> payload.services;
    if (in.status() != QDataStream::Ok || token != RunToken() ||
        pid != QCoreApplication::applicationPid())
        return std::nullopt;
    if (payload.IsFolder() ? !IsDraggableFolder(payload.folderKey) : payload.services.isEmpty())
        return std::nullopt;
    return payload;
}

bool IsDraggableFolder(const QString& key) {
    switch (NodeKindOf(key)) {
    case NodeKind::Category:
    case NodeKind::SubCategory:
    case NodeKind::NoCategory:
    case NodeKind::NoSubCategory:
        return true;
    default:
        return false;
    }
}

void ExecDrag(QWidget* source, QMimeData* data, const char* imageKey) {
    if (!data) return;
    auto* drag = new QDrag(source);
    drag->setMimeData(data);
    const QPixmap allowed = KeyIcon(QLatin1String(imageKey)).pixmap(kCursorSize);
    drag->setDragCursor(allowed, Qt::MoveAction);
    drag->setDragCursor(KeyIcon(QStringLiteral("NODRAG")).pixmap(kCursorSize), Qt::IgnoreAction);
    // The drop target does the work and has the views rebuilt: whatever the
    // result, the source has nothing left to do.
    drag->exec(Qt::MoveAction, Qt::MoveAction);
}

} // namespace qvs
