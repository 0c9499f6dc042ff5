#include "app/file_path.h"

#include <QDir>
#include <QFileInfo>

namespace qvs {

QString CleanFilePath(const QString& path) {
    if (path.isEmpty()) return {};
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace qvs
