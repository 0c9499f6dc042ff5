// The printed report of an export: the same pass as the files, written as
// report mark-up in one of two layouts (columns, or labelled lines).
#pragma once

#include "export/export_format.h"
#include "export/export_writer.h"
#include "frame/report/report.h"

namespace qvs {

class ReportSink : public ExportSink {
public:
    // layout 0: columns; any other value: labelled lines.
    ReportSink(Report& report, const ExportPlan& plan, const DocumentInfo& info, int layout);

    void Begin(const QString& nameSuffix) override;
    void GroupHeading(const QString& heading) override;
    void Entry(const QStringList& values) override;
    void EmptyGroup(const QString& line) override;
    void End() override {}
    bool Failed() const override { return false; }

private:
    bool Columns() const { return layout_ == 0; }
    double Size() const { return Columns() ? 7 : 10; }
    QString ColumnLine(const QStringList& values) const;

    Report& report_;
    const ExportPlan& plan_;
    const DocumentInfo& info_;
    int layout_;
};

} // namespace qvs
