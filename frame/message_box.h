// The programs' own message box, with the classic numeric styles and answers.
#pragma once

#include <QString>
#include <QStringList>

namespace qvs {

// Button sets (style & 7), icons (style & 0x70), default button (style & 0x300).
enum MessageStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton1 = 0,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
};

enum MessageAnswer : int {
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7
};

// Shows text with the style's buttons and icon; caption "" means the
// program's own name. Returns the answer.
int ShowMessage(const QString& text, int style = vbOKOnly, const QString& caption = QString());
// ShowMessage with the style's buttons captioned by buttonTexts, in order;
// the answers stay those of the style.
int ShowChoice(const QString& text, int style, const QStringList& buttonTexts,
               const QString& caption = QString());

} // namespace qvs
