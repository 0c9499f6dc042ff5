// The questions a browser's request raises, as the program's dialogs.
#include "browser/program_host.h"
#include "browser/text_ids.h"

#include "app/format_offer.h"
#include "frame/language.h"
#include "frame/message_box.h"
#include "frame/modal_stack.h"
#include "frame/program_identity.h"
#include "frame/program_state.h"

#include <QInputDialog>
#include <QLabel>

#include <algorithm>

namespace qvs::browser {

namespace {

QString FromStd(const std::string& s) {
    return QString::fromStdString(s);
}

QString OpenFileName() {
    return App().currentFileName;
}

constexpr int kQuestionWidth = 480;

} // namespace

std::optional<std::string> ProgramQuestions::NameConnection(const std::vector<std::string>& taken) {
    ComeForward();
    QString name;
    for (;;) {
        QInputDialog dialog(DialogOwner());
        dialog.setObjectName(QStringLiteral("dlgConnectBrowser"));
        dialog.setWindowTitle(GetLocalText(text::kConnectBrowserTitle));
        dialog.setLabelText(GetLocalText(text::kConnectBrowserQuestion).arg(OpenFileName()));
        // On one line, the question made the window as wide as the screen.
        if (auto* label = dialog.findChild<QLabel*>()) label->setWordWrap(true);
        dialog.resize(kQuestionWidth, dialog.sizeHint().height());
        dialog.setTextValue(name);
        if (ExecModal(dialog) != QDialog::Accepted) return std::nullopt;
        name = dialog.textValue().trimmed();
        if (name.isEmpty()) continue;
        const std::string chosen = name.toStdString();
        if (std::find(taken.begin(), taken.end(), chosen) == taken.end()) return chosen;
        ShowMessage(GetLocalText(text::kConnectionNameTaken).arg(name), vbExclamation);
    }
}

SiteAnswer ProgramQuestions::AllowSite(const std::string& host,
                                       const std::vector<std::string>& services) {
    ComeForward();
    QString list;
    for (const std::string& service : services)
        list += QStringLiteral("\n  ") + FromStd(service);
    const QString question = GetLocalText(text::kSiteAsksQuestion).arg(FromStd(host), list);
    // Deny is the default: a site nobody looked at gets nothing.
    const int answer = ShowChoice(question, vbYesNoCancel | vbQuestion | vbDefaultButton3,
                                  {GetLocalText(text::kAllowOnce), GetLocalText(text::kAllowAlways),
                                   GetLocalText(text::kDenySite)},
                                  GetLocalText(text::kSiteAsksTitle));
    if (answer == vbYes) return SiteAnswer::AllowOnce;
    if (answer == vbNo) return SiteAnswer::AllowAlways;
    return SiteAnswer::Deny;
}

bool ProgramQuestions::ConfirmSave(const std::string& url, const std::string& login,
                                   const std::string& service) {
    ComeForward();
    const QString question =
        service.empty() ? GetLocalText(text::kSaveNewLogin).arg(FromStd(url), FromStd(login))
                        : GetLocalText(text::kUpdateLogin).arg(FromStd(service), FromStd(login));
    return ShowMessage(question, vbYesNo | vbQuestion, GetLocalText(text::kSaveLoginTitle)) ==
           vbYes;
}

void ProgramQuestions::OfferFormat2() {
    ComeForward();
    const QString path = OpenFileName();
    if (ShowMessage(GetLocalText(text::kBrowserNeedsFormat2).arg(path), vbYesNo | vbQuestion,
                    ProgramName()) == vbYes)
        ConvertToNewFormat(path);
}

} // namespace qvs::browser
