#include "export/report_sink.h"

#include "frame/report/report_markup.h"
#include "store/export/export_fields.h"

namespace qvs {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr std::size_t kCaptionWidth = 15;
constexpr quint32 kRed = 255;
constexpr quint32 kBlue = 16711680;

QString Number(quint32 n) {
    return QString::number(n);
}

QString Escaped(const std::string& utf8) {
    return report::EscapeMarkup(QString::fromStdString(utf8));
}

} // namespace

ReportSink::ReportSink(Report& report, const ardeko::ExportPlan& plan,
                       const ardeko::DocumentInfo& info, int layout)
    : report_(report), plan_(plan), info_(info), layout_(layout) {}

void ReportSink::Begin(const std::string&) {
    report_.Clear();
    report_.SetTitle(QStringLiteral("Quorvane"));
    report_.SetFontFace(QStringLiteral("courier new"));
    report_.SetMargins(QMarginsF(10, 20, 10, 10));
    report_.SetHeader(QStringLiteral("<font=courier new><size=14><align=center><Color=") +
                      Number(kRed) + QStringLiteral(">") + Escaped(info_.title) + kCrLf + kCrLf);
    report_.SetFooter(QStringLiteral("<align=center><size=6><Color=") + Number(kRed) +
                      QStringLiteral(">") + Escaped(info_.makerLine) + kCrLf +
                      Escaped(info_.homePage) + kCrLf + Escaped(info_.mailAddress));
    if (!Columns()) return;
    report_.AddText(QStringLiteral("<color=") + Number(kBlue) +
                        QStringLiteral("><size=7><align=left><b><lindent=0>") +
                        ColumnLine(plan_.labels),
                    true, Size());
}

void ReportSink::GroupHeading(const std::string& heading) {
    report_.AddText(kCrLf + Escaped(heading) + kCrLf, true, Size());
}

void ReportSink::Entry(const ardeko::ExportRow& values) {
    if (Columns()) {
        report_.AddText(ColumnLine(values), true, Size());
    } else {
        for (std::size_t i = 0; i < values.size(); ++i) {
            const quint32 colour = i == 0 ? kRed : kBlue;
            report_.AddText(kCrLf + QStringLiteral("<Color=") + Number(colour) +
                                QStringLiteral(">") +
                                Escaped(ardeko::Fit(plan_.labels[i] + ':', kCaptionWidth)) +
                                QStringLiteral("<COLOR=0>") +
                                Escaped(ardeko::ContinuedLines(values[i], kCaptionWidth, "\r\n")),
                            false, Size());
        }
    }
    report_.AddText(QString(), true, Size());
}

void ReportSink::EmptyGroup(const std::string& line) {
    report_.AddText(Escaped(line), true, Size());
}

// Widths count the characters as printed, so values are cut before escaping.
QString ReportSink::ColumnLine(const ardeko::ExportRow& values) const {
    QString line;
    for (std::size_t i = 0; i < values.size(); ++i)
        line += Escaped(ardeko::Fit(ardeko::OneLine(values[i]), plan_.widths[i]));
    return line;
}

} // namespace qvs
