#include "dialogs/health_model.h"

#include "dialogs/text_ids.h"
#include "frame/due_dates.h"
#include "frame/language.h"
#include "frame/strength_meter.h"
#include "frame/text_ids.h"
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

constexpr int kIssueCount = 8;
constexpr std::array<int, HealthModel::ColumnCount> kHeaderTexts = {37003, 37004, 37005};

QString Number(std::uint64_t n) {
    return QLocale().toString(static_cast<qulonglong>(n));
}

QString DetailText(const HealthFinding& f) {
    switch (f.issue) {
    case HealthIssue::Breached:
        return LocalTextWith(text::kHealthSeen, Number(f.timesSeen));
    case HealthIssue::Weak:
        // Rounded down, as the editor's meter shows it.
        return StrengthLevelText(ardeko::StrengthLevel(f.bits)) + QStringLiteral(" \u00b7 ") +
               LocalTextWith(text::kStrengthBits, QString::number(int(std::floor(f.bits))));
    case HealthIssue::Reused:
        return LocalTextWith(text::kHealthGroup, Number(f.group))
            .replace(QLatin1String("%n"), Number(f.sharedBy));
    case HealthIssue::Old:
        return LocalTextWith(text::kHealthSetOn, DayMonthYearText(f.date));
    default:
        return LocalTextWith(text::kHealthOnDate, DayMonthYearText(f.date));
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
    return GetLocalText(text::kFirstHealthIssue + static_cast<int>(issue));
}

QString HealthSummary(const ardeko::HealthReport& report) {
    std::array<std::uint64_t, kIssueCount> counts{};
    for (const HealthFinding& f : report.findings)
        ++counts[static_cast<std::size_t>(f.issue)];
    QStringList parts;
    for (int i = 0; i < kIssueCount; ++i)
        if (counts[std::size_t(i)] > 0)
            parts << LocalTextWith(text::kHealthCount, HealthIssueText(HealthIssue(i)))
                         .replace(QLatin1String("%n"), Number(counts[std::size_t(i)]));
    const QString checked = LocalTextWith(text::kHealthChecked, Number(report.entries));
    return checked + QLatin1Char(' ') +
           (parts.isEmpty() ? GetLocalText(text::kHealthNothingFound)
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
