#include "dialogs/health_model.h"

#include "frame/due_dates.h"
#include "frame/language.h"
#include "frame/strength_meter.h"
#include "frame/vb_date_qt.h"
#include "store/passwords/password_strength.h"

#include <QColor>
#include <QLocale>

#include <array>
#include <cmath>

namespace qvs {

namespace {

using ardeko::HealthFinding;
using ardeko::HealthIssue;

constexpr int kFirstIssueText = 37006; // in HealthIssue order
constexpr int kIssueCount = 8;
constexpr std::array<int, HealthModel::ColumnCount> kHeaderTexts = {37003, 37004, 37005};
constexpr int kSeenText = 37014;
constexpr int kGroupText = 37015;
constexpr int kOnDateText = 37016;
constexpr int kSetOnText = 37017;
constexpr int kCheckedText = 37018;
constexpr int kNothingFoundText = 37019;
constexpr int kCountText = 37031;
constexpr int kBitsText = 33830;

QString Number(std::uint64_t n) {
    return QLocale().toString(static_cast<qulonglong>(n));
}

QString DetailText(const HealthFinding& f) {
    switch (f.issue) {
    case HealthIssue::Breached:
        return LocalTextWith(kSeenText, Number(f.timesSeen));
    case HealthIssue::Weak:
        // Rounded down, as the editor's meter shows it.
        return StrengthLevelText(ardeko::StrengthLevel(f.bits)) + QStringLiteral(" \u00b7 ") +
               LocalTextWith(kBitsText, QString::number(int(std::floor(f.bits))));
    case HealthIssue::Reused:
        return LocalTextWith(kGroupText, Number(f.group))
            .replace(QLatin1String("%n"), Number(f.sharedBy));
    case HealthIssue::Old:
        return LocalTextWith(kSetOnText, DayMonthYearText(f.date));
    default:
        return LocalTextWith(kOnDateText, DayMonthYearText(f.date));
    }
}

// Red for what needs doing now, amber for what will soon.
DateLevel Gravity(HealthIssue issue) {
    switch (issue) {
    case HealthIssue::Breached:
    case HealthIssue::Weak:
    case HealthIssue::Expired:
    case HealthIssue::ChangeDue:
        return DateLevel::Alert;
    default:
        return DateLevel::Warning;
    }
}

} // namespace

QString HealthIssueText(HealthIssue issue) {
    return GetLocalText(kFirstIssueText + static_cast<int>(issue));
}

QString HealthSummary(const ardeko::HealthReport& report) {
    std::array<std::uint64_t, kIssueCount> counts{};
    for (const HealthFinding& f : report.findings)
        ++counts[static_cast<std::size_t>(f.issue)];
    QStringList parts;
    for (int i = 0; i < kIssueCount; ++i)
        if (counts[std::size_t(i)] > 0)
            parts << LocalTextWith(kCountText, HealthIssueText(HealthIssue(i)))
                         .replace(QLatin1String("%n"), Number(counts[std::size_t(i)]));
    const QString checked = LocalTextWith(kCheckedText, Number(report.entries));
    return checked + QLatin1Char(' ') +
           (parts.isEmpty() ? GetLocalText(kNothingFoundText)
                            : parts.join(QStringLiteral(" \u00b7 ")));
}

void HealthModel::SetReport(ardeko::HealthReport report) {
    beginResetModel();
    report_ = std::move(report);
    endResetModel();
}

QString HealthModel::ServiceAt(int row) const {
    if (row < 0 || row >= rowCount()) return {};
    return QString::fromStdString(report_.findings[std::size_t(row)].service);
}

int HealthModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(report_.findings.size());
}

int HealthModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant HealthModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const HealthFinding& f = report_.findings[std::size_t(index.row())];
    if (role == Qt::BackgroundRole && index.column() == Issue)
        return DateLevelTint(Gravity(f.issue));
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
    case Entry:
        return QString::fromStdString(f.service);
    case Issue:
        return HealthIssueText(f.issue);
    case Detail:
        return DetailText(f);
    default:
        return {};
    }
}

QVariant HealthModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return GetLocalText(kHeaderTexts[std::size_t(section)]);
}

} // namespace qvs
