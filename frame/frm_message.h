// The programs' own message box: the classic button sets, icons and answers,
// with button captions from the language texts.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace qvs {

class frmMessage : public QDialog {
    Q_OBJECT
public:
    explicit frmMessage(QWidget* parent = nullptr);

    // Prepares buttons, icon, caption and text for one message.
    void SetButton(int flags, const QString& caption, const QString& message);
    // Other captions for the shown buttons, in order (after SetButton), for
    // a question whose answers are not Yes and No.
    void SetCaptions(const QStringList& captions);
    // The answer, read after the window has closed.
    int GetButton() const;

public slots:
    // Escape and the close box: the answer that closing without a button means.
    void reject() override;

private:
    void ShowButtons();
    void ShowIcon();
    void FitLongestWord();
    void Press(int which);

    int buttonSet_ = 0;
    int iconKind_ = 0;
    int defaultButton_ = 0;
    int pressed_ = 1;
    QLabel* lblMsg_;
    QLabel* Pict_;
    QPushButton* cmdOK_;
    QPushButton* cmdNo_;
    QPushButton* cmdCancel_;
};

} // namespace qvs
