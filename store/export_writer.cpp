#include "export/export_writer.h"

#include <QDir>

namespace qvs {

namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

bool WriteGroup(const ExportGroup& group, const QString& emptyWord, ExportSink& sink, int& done,
                int count, const ExportProgress& progress) {
    if (!group.heading.isEmpty()) sink.GroupHeading(group.heading);
    if (group.rows.empty()) sink.EmptyGroup(QStringLiteral("No item in this ") + emptyWord);
    for (const QStringList& row : group.rows) {
        if (sink.Failed()) return false;
        sink.Entry(row);
        if (progress) progress(++done, count);
    }
    return !sink.Failed();
}

} // namespace

bool Generate(const ExportPlan& plan, bool split, ExportSink& sink,
              const ExportProgress& progress) {
    int done = 0;
    if (!split) sink.Begin({});
    for (const ExportGroup& group : plan.groups) {
        if (split) sink.Begin(group.nameSuffix);
        if (sink.Failed() ||
            !WriteGroup(group, plan.emptyWord, sink, done, plan.entryCount, progress))
            return false;
        if (split) sink.End();
    }
    if (!split) sink.End();
    return !sink.Failed();
}

FileSink::FileSink(std::unique_ptr<ExportFormat> format, QString folder, QString fileName,
                   QString extension)
    : format_(std::move(format)), folder_(std::move(folder)), fileName_(std::move(fileName)),
      extension_(std::move(extension)) {}

void FileSink::Begin(const QString& nameSuffix) {
    if (Failed()) return;
    file_.setFileName(QDir(folder_).filePath(UniqueName(fileName_ + SafeNamePart(nameSuffix))));
    // A file that exists keeps its permissions on open: narrow them before
    // anything is written into it.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate, kOwnerOnly) ||
        !file_.setPermissions(kOwnerOnly))
        return Fail();
    written_ << file_.fileName();
    Write(format_->Header());
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
    Write(format_->Footer());
    if (!file_.isOpen()) return;
    if (!file_.flush()) Fail();
    file_.close();
}

void FileSink::Write(const QString& text) {
    if (Failed() || text.isEmpty()) return;
    const QByteArray bytes = text.toUtf8();
    if (file_.write(bytes) != bytes.size()) Fail();
}

void FileSink::Fail() {
    if (Failed()) return;
    error_ =
        QDir::toNativeSeparators(file_.fileName()) + QStringLiteral("\n") + file_.errorString();
    file_.close();
}

QString SafeNamePart(const QString& text) {
    QString part = text;
    part.replace(QLatin1Char('/'), QLatin1Char('_'));
    part.remove(QChar(0));
    return part;
}

} // namespace qvs
