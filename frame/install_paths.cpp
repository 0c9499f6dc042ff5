#include "frame/install_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace qvs {

QString InstalledDataFolder() {
    if (!QCoreApplication::instance()) return QString();
    const QString folder = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                           QStringLiteral("/../share/quorvane"));
    return QFileInfo(folder).isDir() ? folder : QString();
}

} // namespace qvs
