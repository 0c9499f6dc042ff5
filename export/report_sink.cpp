#include "export/report_sink.h"

#include "export/export_fields.h"
#include "frame/report/report_markup.h"

namespace qvs {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr int kCaptionWidth = 15;
constexpr quint32 kRed = 255;
constexpr quint32 kBlue = 16711680;

QString Number(quint32 n) {
    return QString::number(n);
}

} // namespace

ReportSink::ReportSink(Report& report, const ExportPlan& plan, const DocumentInfo& info, int layout)
    : report_(report), plan_(plan), info_(info), layout_(layout) {}

void ReportSink::Begin(const QString&) {
    report_.Clear();
    report_.SetTitle(QStringLiteral("Quorvane"));
    report_.SetFontFace(QStringLiteral("courier new"));
    report_.SetMargins(QMarginsF(10, 20, 10, 10));
    report_.SetHeader(QStringLiteral("<font=courier new><size=14><align=center><Color=") +
                      Number(kRed) + QStringLiteral(">") + report::EscapeMarkup(info_.title) +
                      kCrLf + kCrLf);
    report_.SetFooter(QStringLiteral("<align=center><size=6><Color=") + Number(kRed) +
                      QStringLiteral(">") + report::EscapeMarkup(info_.makerLine) + kCrLf +
                      report::EscapeMarkup(info_.homePage) + kCrLf +
                      report::EscapeMarkup(info_.mailAddress));
    if (!Columns()) return;
    report_.AddText(QStringLiteral("<color=") + Number(kBlue) +
                        QStringLiteral("><size=7><align=left><b><lindent=0>") +
                        ColumnLine(plan_.captions),
                    true, Size());
}

void ReportSink::GroupHeading(const QString& heading) {
    report_.AddText(kCrLf + report::EscapeMarkup(heading) + kCrLf, true, Size());
}

void ReportSink::Entry(const QStringList& values) {
    if (Columns()) {
        report_.AddText(ColumnLine(values), true, Size());
    } else {
        for (int i = 0; i < values.size(); ++i) {
            const quint32 colour = i == 0 ? kRed : kBlue;
            report_.AddText(
                kCrLf + QStringLiteral("<Color=") + Number(colour) + QStringLiteral(">") +
                    report::EscapeMarkup(Fit(plan_.captions[i] + QLatin1Char(':'), kCaptionWidth)) +
                    QStringLiteral("<COLOR=0>") +
                    report::EscapeMarkup(ContinuedLines(values[i], kCaptionWidth, kCrLf)),
                false, Size());
        }
    }
    report_.AddText(QString(), true, Size());
}

void ReportSink::EmptyGroup(const QString& line) {
    report_.AddText(report::EscapeMarkup(line), true, Size());
}

// Widths count the characters as printed, so values are cut before escaping.
QString ReportSink::ColumnLine(const QStringList& values) const {
    QString line;
    for (int i = 0; i < values.size(); ++i)
        line += report::EscapeMarkup(Fit(OneLine(values[i]), plan_.widths[std::size_t(i)]));
    return line;
}

} // namespace qvs
