#include "message_box.h"

#include "frm_message.h"
#include "modal_stack.h"
#include "program_identity.h"

#include <QCoreApplication>

namespace qvs {

namespace {

QString ProgramCaption() {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? ProgramName() : name;
}

} // namespace

int ShowMessage(const QString& text, int style, const QString& caption) {
    frmMessage form(DialogOwner());
    form.SetButton(style, caption.isEmpty() ? ProgramCaption() : caption, text);
    ExecModal(form);
    return form.GetButton();
}

} // namespace qvs
