// The splash window shown at start-up while "ViewSplash" is on: the program
// icon and title, gone after a moment or at a click.
#pragma once

#include <QDialog>
#include <QTimer>

namespace qvs {

inline constexpr int kSplashMilliseconds = 1500;

class frmSplash : public QDialog {
    Q_OBJECT
public:
    explicit frmSplash(int milliseconds = kSplashMilliseconds, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QTimer tmrClose_;
};

// Shows the splash through the modal stack; returns once it has closed.
void ShowSplash(int milliseconds = kSplashMilliseconds);

} // namespace qvs
