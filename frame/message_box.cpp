#include "frame/message_box.h"

#include "frame/frm_message.h"
#include "frame/modal_stack.h"
#include "frame/program_identity.h"

#include <QCoreApplication>

namespace qvs {

namespace {

QString ProgramCaption() {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? ProgramName() : name;
}

} // namespace

int ShowMessage(const QString& text, int style, const QString& caption) {
    return ShowChoice(text, style, {}, caption);
}

int ShowChoice(const QString& text, int style, const QStringList& buttonTexts,
               const QString& caption) {
    frmMessage form(DialogOwner());
    form.SetButton(style, caption.isEmpty() ? ProgramCaption() : caption, text);
    form.SetCaptions(buttonTexts);
    ExecModal(form);
    return form.GetButton();
}

} // namespace qvs
