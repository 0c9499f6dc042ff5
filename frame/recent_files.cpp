#include "frame/recent_files.h"

#include "frame/settings_store.h"

#include <QDir>
#include <QRegularExpression>

namespace qvs {

namespace {

const QString kCountKey = QStringLiteral("NumFiles");

QString FileKey(int number) {
    return QStringLiteral("File-%1").arg(number);
}

// The number of a "File-<n>" name in any letter case, or 0.
int FileKeyNumber(const QString& name) {
    static const QRegularExpression pattern(QStringLiteral("^file-(\\d+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(name);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

} // namespace

void RecentFiles::Add(const QString& given, int limit) {
    const QString path = QDir::cleanPath(given);
    if (path.isEmpty()) return;
    paths_.removeAll(path);
    // Also trims a list that is longer than a newly lowered limit.
    while (!paths_.isEmpty() && paths_.size() >= limit)
        paths_.removeLast();
    paths_.prepend(path);
}

void RecentFiles::Load(const SettingsStore& store, int limit) {
    const QString empty = QString::fromLatin1(kEmptyRecentFile);
    paths_.clear();
    for (int i = 1; i <= limit; ++i) {
        const QString stored = store.ReadText(FileKey(i), empty);
        if (stored == empty) break;
        // Lists written before paths were cleaned may hold a file twice.
        const QString path = QDir::cleanPath(stored);
        if (!path.isEmpty() && !paths_.contains(path)) paths_.append(path);
    }
}

void RecentFiles::Save(SettingsStore& store, int limit) const {
    const int count = qBound(0, Count(), limit);
    store.WriteNumber(kCountKey, count);
    for (int i = 0; i < count; ++i)
        store.WriteText(FileKey(i + 1), paths_.at(i));
    for (const QString& name : store.Names())
        if (FileKeyNumber(name) > count) store.Remove(name);
}

} // namespace qvs
