// The lines of the password health window: one per finding, with the entry,
// the issue and its detail in the program's language. Never a password.
#pragma once

#include "store/passwords/password_health.h"

#include <QAbstractTableModel>

namespace qvs {

class HealthModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Entry, Issue, Detail, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void SetReport(ardeko::HealthReport report);
    const ardeko::HealthReport& Report() const { return report_; }
    // The service of a line; empty for no line.
    QString ServiceAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    ardeko::HealthReport report_;
};

// The issue's name ("Weak", "Breached", ...).
QString HealthIssueText(ardeko::HealthIssue issue);
// What the report found, e.g. "120 entries checked. Weak: 3 · Reused: 4".
QString HealthSummary(const ardeko::HealthReport& report);

} // namespace qvs
