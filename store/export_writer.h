// One generation pass: the plan's groups and entries handed, in order, to a
// sink that writes them (files, or the printed report).
#pragma once

#include "export/export_format.h"
#include "export/export_plan.h"

#include <QFile>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace qvs {

class ExportSink {
public:
    virtual ~ExportSink() = default;
    // Starts a document: the whole export, or one group's file.
    virtual void Begin(const QString& nameSuffix) = 0;
    virtual void GroupHeading(const QString& heading) = 0;
    virtual void Entry(const QStringList& values) = 0;
    virtual void EmptyGroup(const QString& line) = 0;
    virtual void End() = 0;
    // Once failed, a sink stays failed and the pass stops.
    virtual bool Failed() const = 0;
};

// Entries written so far, of all.
using ExportProgress = std::function<void(int done, int count)>;

// False when the sink failed; what was written up to then stays.
bool Generate(const ExportPlan& plan, bool split, ExportSink& sink,
              const ExportProgress& progress = {});

// Writes documents to folder/fileName[nameSuffix]extension, readable and
// writable by the user only: they hold passwords in clear.
class FileSink : public ExportSink {
public:
    FileSink(std::unique_ptr<ExportFormat> format, QString folder, QString fileName,
             QString extension);

    void Begin(const QString& nameSuffix) override;
    void GroupHeading(const QString& heading) override { Write(format_->GroupHeading(heading)); }
    void Entry(const QStringList& values) override { Write(format_->Entry(values)); }
    void EmptyGroup(const QString& line) override { Write(format_->EmptyGroup(line)); }
    void End() override;
    bool Failed() const override { return !error_.isEmpty(); }

    // The system's reason, with the file it concerns.
    const QString& Error() const { return error_; }
    const QStringList& Written() const { return written_; }
    // "intended -> written" for each group file whose name an earlier group
    // of this export had already taken.
    const QStringList& Renamed() const { return renamed_; }

private:
    void Write(const QString& text);
    void Fail();
    QString UniqueName(const QString& wanted);

    std::unique_ptr<ExportFormat> format_;
    QString folder_, fileName_, extension_;
    QFile file_;
    QString error_;
    QStringList written_, renamed_;
    QSet<QString> taken_; // names of this export, folded to lower case
};

// A name part made from user text that stays inside the folder.
QString SafeNamePart(const QString& text);

} // namespace qvs
