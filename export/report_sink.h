// The printed report of an export: the same pass as the files, written as
// report mark-up in one of two layouts (columns, or labelled lines).
#pragma once

#include "frame/report/report.h"
#include "store/export/export_format.h"
#include "store/export/export_writer.h"

#include <QString>

namespace qvs {

class ReportSink : public ardeko::ExportSink {
public:
    // layout 0: columns; any other value: labelled lines.
    ReportSink(Report& report, const ardeko::ExportPlan& plan, const ardeko::DocumentInfo& info,
               int layout);

    void Begin(const std::string& nameSuffix) override;
    void GroupHeading(const std::string& heading) override;
    void Entry(const ardeko::ExportRow& values) override;
    void EmptyGroup(const std::string& line) override;
    void End() override {}
    bool Failed() const override { return false; }

private:
    bool Columns() const { return layout_ == 0; }
    double Size() const { return Columns() ? 7 : 10; }
    QString ColumnLine(const ardeko::ExportRow& values) const;

    Report& report_;
    const ardeko::ExportPlan& plan_;
    const ardeko::DocumentInfo& info_;
    int layout_;
};

} // namespace qvs
