// The main window's status bar (sbstatusbar): how many entries the grid
// lists, and how many entries of the file have expired, are about to expire,
// are due for a password change or will be soon.
#pragma once

#include <QStatusBar>

#include <array>

class QLabel;

namespace qvs {

struct NodeCounts;

class MainStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit MainStatusBar(QWidget* parent = nullptr);

    void ShowShown(int entries);
    void ShowCounts(const NodeCounts& counts);
    // No file open: says so, and nothing is counted.
    void ShowNoFile();

    // The text of each field, for tests: the entries shown, then the
    // expired, expiring, change-due and change-soon counters.
    QStringList Texts() const;

private:
    enum Field { Shown, Expired, Expiring, ChangeDue, ChangeSoon, FieldCount };
    void SetField(Field field, int number);

    std::array<QLabel*, FieldCount> fields_{};
};

} // namespace qvs
