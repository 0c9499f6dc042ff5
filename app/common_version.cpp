#include "app/common_version.h"

#include "autotype/key_pair.h"
#include "store/io/file_io.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace qvs {

namespace {

// Versions of files not opened for this long go, as the deletion marks that
// make them useful do.
constexpr int kKeepDays = 180;

QString Folder() {
    return QString::fromStdString(ardeko::UserDataFolder()) +
           QStringLiteral("/Tarnwick/QVS/Common");
}

void PruneOld() {
    const QDateTime oldest = QDateTime::currentDateTime().addDays(-kKeepDays);
    for (const QFileInfo& kept : QDir(Folder()).entryInfoList(QDir::Files))
        if (kept.lastModified() < oldest) QFile::remove(kept.absoluteFilePath());
}

} // namespace

QString CommonVersionPath(const QString& file) {
    const QByteArray path = QFileInfo(file).absoluteFilePath().toUtf8();
    const QByteArray hash = QCryptographicHash::hash(path, QCryptographicHash::Sha256).toHex();
    return Folder() + QLatin1Char('/') + QString::fromLatin1(hash.left(32)) +
           QStringLiteral(".QVS");
}

void KeepCommonVersion(const QString& file) {
    std::string bytes;
    if (ardeko::ReadWholeFile(file.toStdString(), bytes)) return;
    if (ardeko::MakeFolders(Folder().toStdString())) return;
    // A version that cannot be kept only makes later merges two-way.
    (void)ardeko::WriteFileAtomically(CommonVersionPath(file).toStdString(), bytes, [](bool) {});
    PruneOld();
}

std::unique_ptr<ardeko::clsPW> LoadCommonVersion(const QString& file, const ardeko::clsPW& holder) {
    const QString kept = CommonVersionPath(file);
    if (!QFileInfo::exists(kept)) return nullptr;
    auto version = std::make_unique<ardeko::clsPW>();
    if (!version->LoadFileAs(kept.toStdString(), holder, DefaultKeyVal()) ||
        version->ErrNum() == ardeko::StoreError::DamagedFile)
        return nullptr;
    return version;
}

} // namespace qvs
