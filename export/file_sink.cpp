#include "export/file_sink.h"

#include <QDir>

namespace qvs {

namespace {
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
} // namespace

FileSink::FileSink(std::unique_ptr<ardeko::ExportFormat> format, QString folder, QString fileName,
                   QString extension)
    : FormatSink(std::move(format)), folder_(std::move(folder)), fileName_(std::move(fileName)),
      extension_(std::move(extension)) {}

void FileSink::Begin(const std::string& nameSuffix) {
    if (Failed()) return;
    const QString suffix = QString::fromStdString(ardeko::SafeNamePart(nameSuffix));
    file_.setFileName(QDir(folder_).filePath(UniqueName(fileName_ + suffix)));
    // A file that exists keeps its permissions on open: narrow them before
    // anything is written into it.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate, kOwnerOnly) ||
        !file_.setPermissions(kOwnerOnly))
        return Fail();
    written_ << file_.fileName();
    FormatSink::Begin(nameSuffix);
}

// Different groups can give one name ("Mail/Web" and "Mail_Web", a category
// called "No Category" and the entries without one, "a.b"+"c" and "a"+"b.c"):
// a later group must not replace an earlier one's file. Names are compared
// without case so that an export onto a FAT stick loses nothing either.
QString FileSink::UniqueName(const QString& wanted) {
    QString name = wanted + extension_;
    for (int n = 2; taken_.contains(name.toLower()); ++n)
        name = wanted + QStringLiteral(" (%1)").arg(n) + extension_;
    taken_.insert(name.toLower());
    if (name != wanted + extension_)
        renamed_ << wanted + extension_ + QStringLiteral(" \u2192 ") + name;
    return name;
}

void FileSink::End() {
    FormatSink::End();
    if (!file_.isOpen()) return;
    if (!file_.flush()) Fail();
    file_.close();
}

void FileSink::Write(const std::string& text) {
    if (Failed() || text.empty()) return;
    if (file_.write(text.data(), qint64(text.size())) != qint64(text.size())) Fail();
}

void FileSink::Fail() {
    if (Failed()) return;
    error_ =
        QDir::toNativeSeparators(file_.fileName()) + QStringLiteral("\n") + file_.errorString();
    file_.close();
}

} // namespace qvs
